// Fuzz target: a form stream read into a component tree. Every property kind
// the reader knows is published by the item class, a nested picture among
// them, so that damaged values reach every path. A failure must be an error
// object, never a crash, a hang or a leak.

#include "framework/core/Reader.h"
#include "framework/graphics/Picture.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

enum TKind { kOne, kTwo, kThree };

class TFuzzItem : public TComponent {
    VN_COMPONENT(TFuzzItem)
public:
    explicit TFuzzItem(TComponent* owner) : TComponent(owner) {}
    ~TFuzzItem() override
    {
        for (TFuzzItem* c : children)
            c->parent = nullptr;
        if (parent)
            std::erase(parent->children, this);
    }
    int Number() const { return number; }
    void SetNumber(int v) { number = v; }
    bool Flag() const { return flag; }
    void SetFlag(bool v) { flag = v; }
    std::string Text() const { return text; }
    void SetText(const std::string& v) { text = v; }
    TKind Kind() const { return kind; }
    void SetKind(TKind v) { kind = v; }
    std::uint32_t Options() const { return options; }
    void SetOptions(std::uint32_t v) { options = v; }
    TComponent* Buddy() const { return buddy; }
    void SetBuddy(TComponent* v) { buddy = v; }
    TPicture* Picture() const { return const_cast<TPicture*>(&picture); }

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return parent; }
    void SetParentComponent(TComponent* p) override
    {
        parent = dynamic_cast<TFuzzItem*>(p);
        if (parent)
            parent->children.push_back(this);
    }
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) override
    {
        for (TFuzzItem* c : children)
            proc(c);
    }
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c == buddy)
            buddy = nullptr;
    }

    int number = 0;
    bool flag = false;
    std::string text;
    TKind kind = kOne;
    std::uint32_t options = 0;
    TComponent* buddy = nullptr;
    TPicture picture;
    Event<void(TObject*)> OnPing;
    TFuzzItem* parent = nullptr;
    std::vector<TFuzzItem*> children;
};

VN_DEFINE_COMPONENT(TFuzzItem, TComponent,
    p.Integer("Number", &TFuzzItem::Number, &TFuzzItem::SetNumber, 0);
    p.Boolean("Flag", &TFuzzItem::Flag, &TFuzzItem::SetFlag, false);
    p.String("Text", &TFuzzItem::Text, &TFuzzItem::SetText);
    p.Enum("Kind", &TFuzzItem::Kind, &TFuzzItem::SetKind, {"kOne", "kTwo", "kThree"}, kOne);
    p.Set("Options", &TFuzzItem::Options, &TFuzzItem::SetOptions, {"oA", "oB", "oC"}, 0u);
    p.ComponentRef("Buddy", &TFuzzItem::Buddy, &TFuzzItem::SetBuddy);
    p.Object("Picture", &TFuzzItem::Picture);
    p.EventProp("OnPing", &TFuzzItem::OnPing);
)

class TFuzzRoot : public TComponent {
    VN_COMPONENT(TFuzzRoot)
public:
    explicit TFuzzRoot(TComponent* owner) : TComponent(owner)
    {
        PublishMethod<void(TObject*)>("Ping", &TFuzzRoot::Ping);
    }
    void Ping(TObject*) {}
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) override
    {
        for (int i = 0; i < ComponentCount(); ++i)
            if (!Components(i)->GetParentComponent())
                proc(Components(i));
    }
};

VN_DEFINE_COMPONENT(TFuzzRoot, TComponent)

const bool registered = [] {
    RegisterClass(TFuzzItem::StaticClassInfo());
    RegisterClass(TFuzzRoot::StaticClassInfo());
    return true;
}();

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    (void)registered;
    TFuzzRoot root(nullptr);
    try {
        ReadComponentRes(std::vector<std::uint8_t>(data, data + size), &root);
    } catch (const Exception& e) {
        if (std::getenv("VN_FUZZ_VERBOSE"))
            std::fprintf(stderr, "%s\n", e.what());
    }
    return 0;
}
