#pragma once
// TComponent: owner-managed lifetime, Name and Tag, published properties and
// methods for the form streams.
//
// An owner frees the components it owns, the one created last first. A
// component leaving its owner (freed or moved) is taken off the owner's list,
// and components that asked for it (FreeNotification) hear of it.

#include "framework/core/TypeInfo.h"

#include <any>
#include <functional>
#include <map>
#include <string>
#include <vector>

class TReader;
class TWriter;

enum TComponentStateFlag : unsigned {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,
};

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
    const char* ClassName() const override { return "TComponent"; }
    const TClassInfo* PublishedInfo() const override { return &ClassInfo(); }

    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    // Raises EComponentError for a name that is not an identifier or is taken
    // by a sibling under the same owner.
    void SetName(const std::string& name);
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(static_cast<std::size_t>(index)); }
    int ComponentIndex() const;
    TComponent* FindComponent(const std::string& name) const;

    unsigned ComponentState() const { return state_; }
    bool IsLoading() const { return state_ & csLoading; }
    bool IsDesigning() const { return state_ & csDesigning; }
    bool IsDestroying() const { return state_ & csDestroying; }
    void SetDesigning(bool designing);

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void DestroyComponents();
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // ---- form streams
    // Called once a stream has set every property of the tree.
    virtual void Loaded();
    // The components written as children of this one in a form stream: for a
    // root, the owned components without a parent; for a windowed control, its
    // child controls.
    virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root);
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent*) {}
    // Reads or writes this component's own properties (the stream's reader and
    // writer call these; DefineProperties adds the byte blocks).
    virtual void ReadState(TReader& reader);
    virtual void WriteState(TWriter& writer);

    // Published methods of a root, found by name when a stream binds an event.
    const std::any* MethodAddress(const std::string& name) const;
    template <typename Sig, typename Self, typename... A>
    void PublishMethod(const std::string& name, void (Self::*method)(A...))
    {
        auto* self = static_cast<Self*>(this);
        typename Event<Sig>::Handler handler = [self, method](A... args) { (self->*method)(args...); };
        methods_[name] = std::move(handler);
    }

    void SetLoadingState(bool loading);
    void SetReadingState(bool reading);
    void SetWritingState(bool writing);

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    void SetDestroying() { state_ |= csDestroying; }

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);

    TComponent* owner_ = nullptr;
    std::string name_;
    int tag_ = 0;
    unsigned state_ = 0;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    std::map<std::string, std::any> methods_;
};

class EComponentError : public Exception {
public:
    using Exception::Exception;
};
