#pragma once
// Root classes of the framework: TObject (a class name the form streams use)
// and TPersistent (Assign, and the hook through which an object adds stored
// byte-block properties of its own to a form stream).

#include <functional>
#include <string>

class TFiler;
class TClassInfo;

class TObject {
public:
    virtual ~TObject() = default;
    // The class name as it appears in form streams ("TBitmap", "TImagePanel").
    virtual const char* ClassName() const { return "TObject"; }
};

// Declares ClassName() in a class body: VN_CLASS(TBitmap)
#define VN_CLASS(Name)                                                  \
public:                                                                 \
    const char* ClassName() const override { return #Name; }            \
    static constexpr const char* StaticClassName() { return #Name; }    \
                                                                        \
private:

using TNotifyEvent = std::function<void(TObject* sender)>;

class TPersistent : public TObject {
public:
    // Copies the content of source; raises EConvertError when the classes do not fit.
    virtual void Assign(const TPersistent* source);
    // Adds stored properties that are not plain published values (byte blocks).
    virtual void DefineProperties(TFiler& filer);
    // Published properties of a persistent that is stored as a nested object
    // ("Font.Name"); none by default.
    virtual const TClassInfo* PublishedInfo() const { return nullptr; }

protected:
    // Called by Assign when this object cannot take source: lets the source try.
    virtual void AssignTo(TPersistent* dest) const;
};
