#pragma once
// Run-time type information of stored properties: which properties a class
// publishes, how to read and write them, and when they are stored. Form
// streams are read and written through it, and the class registry lets a
// stream create the components it names.

#include "framework/core/Event.h"
#include "framework/core/Object.h"
#include "framework/core/SysUtils.h"

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <type_traits>
#include <string>
#include <variant>
#include <vector>

class TComponent;

// A property value as a form stream carries it.
struct TIdent {
    std::string name;
    bool operator==(const TIdent&) const = default;
};
struct TSetValue {
    std::vector<std::string> members;
    bool operator==(const TSetValue&) const = default;
};
struct TBinaryValue {
    std::vector<std::uint8_t> bytes;
    bool operator==(const TBinaryValue&) const = default;
};
struct TNilValue {
    bool operator==(const TNilValue&) const = default;
};
using TPropValue = std::variant<std::int64_t, bool, std::string, TIdent, TSetValue, double, TBinaryValue, TNilValue>;

enum class TPropKind {
    Integer,   // integer value
    Boolean,   // True / False
    String,    // byte string (code page 932 text)
    Enum,      // identifier out of a fixed list
    Set,       // set of identifiers out of a fixed list
    Float,     // extended value
    Event,     // method name, bound on the stream's root
    Component, // name of another component, resolved after reading
    Object,    // a nested persistent object; its own properties follow as "Name.Sub"
};

struct TPropInfo {
    std::string name;
    TPropKind kind = TPropKind::Integer;
    std::vector<std::string> names; // identifiers of an Enum or Set
    // Plain values (Integer ... Float).
    std::function<TPropValue(const TObject&)> get;
    std::function<void(TObject&, const TPropValue&)> set;
    // Whether the current value is written (usually: differs from the default).
    std::function<bool(const TObject&)> stored;
    // Event: the bound method name, and binding a method found on the root.
    std::function<std::string(const TObject&)> getMethodName;
    std::function<bool(TObject&, const std::any& method, const std::string& name)> bindMethod;
    // Component reference.
    std::function<TComponent*(const TObject&)> getComponent;
    std::function<void(TObject&, TComponent*)> setComponent;
    // Object: the nested persistent.
    std::function<TPersistent*(TObject&)> getObject;
};

using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

// Per-class record: name, parent class, published properties, factory.
class TClassInfo {
public:
    using PropertyInit = std::function<void(std::vector<TPropInfo>&)>;

    TClassInfo(const char* name, const TClassInfo* parent, PropertyInit init, TComponentFactory factory);

    const char* Name() const { return name_; }
    const TClassInfo* Parent() const { return parent_; }
    const TComponentFactory& Factory() const { return factory_; }
    bool InheritsFrom(const TClassInfo& other) const;
    // Own and inherited properties, looked up by name (case-insensitive, as the
    // classic streaming did).
    const TPropInfo* FindProperty(const std::string& name) const;
    // Own properties after the parent's, in declaration order.
    std::vector<const TPropInfo*> AllProperties() const;

private:
    const std::vector<TPropInfo>& Own() const;

    const char* name_;
    const TClassInfo* parent_;
    PropertyInit init_;
    TComponentFactory factory_;
    mutable std::optional<std::vector<TPropInfo>> own_;
};

// Class registry: a form stream creates components by class name.
void RegisterClass(const TClassInfo& info);
const TClassInfo* FindClassInfo(const std::string& name);

bool SameText(const std::string& a, const std::string& b);

// Conversions used by the setters; a value of the wrong kind raises EReadError
// "Invalid property value".
std::int64_t AsInteger(const TPropValue& v);
bool AsBoolean(const TPropValue& v);
std::string AsString(const TPropValue& v);
int IdentIndex(const TPropValue& v, const std::vector<std::string>& names);
std::uint32_t SetBits(const TPropValue& v, const std::vector<std::string>& names);
[[noreturn]] void ThrowInvalidValue();

// Helpers to declare properties with member getters and setters.
template <typename T> class TPropertyList {
public:
    explicit TPropertyList(std::vector<TPropInfo>& out) : out_(out) {}

    template <typename V, typename S>
    TPropertyList& Integer(const char* name, V (T::*getter)() const, void (T::*setter)(S),
                           std::optional<std::int64_t> def = 0)
    {
        TPropInfo p = Base(name, TPropKind::Integer);
        p.get = [getter](const TObject& o) { return TPropValue(static_cast<std::int64_t>((Self(o).*getter)())); };
        p.set = [setter](TObject& o, const TPropValue& v) {
            (Self(o).*setter)(static_cast<std::remove_cvref_t<S>>(AsInteger(v)));
        };
        p.stored = [getter, def](const TObject& o) {
            return !def || static_cast<std::int64_t>((Self(o).*getter)()) != *def;
        };
        out_.push_back(std::move(p));
        return *this;
    }

    TPropertyList& Boolean(const char* name, bool (T::*getter)() const, void (T::*setter)(bool),
                           std::optional<bool> def = false)
    {
        TPropInfo p = Base(name, TPropKind::Boolean);
        p.get = [getter](const TObject& o) { return TPropValue((Self(o).*getter)()); };
        p.set = [setter](TObject& o, const TPropValue& v) { (Self(o).*setter)(AsBoolean(v)); };
        p.stored = [getter, def](const TObject& o) { return !def || (Self(o).*getter)() != *def; };
        out_.push_back(std::move(p));
        return *this;
    }

    template <typename G, typename S>
    TPropertyList& String(const char* name, G (T::*getter)() const, void (T::*setter)(S))
    {
        TPropInfo p = Base(name, TPropKind::String);
        p.get = [getter](const TObject& o) { return TPropValue(std::string((Self(o).*getter)())); };
        p.set = [setter](TObject& o, const TPropValue& v) { (Self(o).*setter)(AsString(v)); };
        p.stored = [getter](const TObject& o) { return !std::string((Self(o).*getter)()).empty(); };
        out_.push_back(std::move(p));
        return *this;
    }

    // An enumeration stored by identifier; E converts to and from int.
    template <typename E>
    TPropertyList& Enum(const char* name, E (T::*getter)() const, void (T::*setter)(E),
                        std::vector<std::string> names, std::type_identity_t<std::optional<E>> def)
    {
        TPropInfo p = Base(name, TPropKind::Enum);
        p.names = names;
        p.get = [getter, names](const TObject& o) {
            const auto i = static_cast<std::size_t>((Self(o).*getter)());
            return TPropValue(TIdent{i < names.size() ? names[i] : std::string()});
        };
        p.set = [setter, names](TObject& o, const TPropValue& v) {
            (Self(o).*setter)(static_cast<E>(IdentIndex(v, names)));
        };
        p.stored = [getter, def](const TObject& o) { return !def || (Self(o).*getter)() != *def; };
        out_.push_back(std::move(p));
        return *this;
    }

    // A set stored as identifiers; the value is a bit mask (bit i = names[i]).
    TPropertyList& Set(const char* name, std::uint32_t (T::*getter)() const, void (T::*setter)(std::uint32_t),
                       std::vector<std::string> names, std::optional<std::uint32_t> def)
    {
        TPropInfo p = Base(name, TPropKind::Set);
        p.names = names;
        p.get = [getter, names](const TObject& o) {
            const std::uint32_t bits = (Self(o).*getter)();
            TSetValue s;
            for (std::size_t i = 0; i < names.size(); ++i)
                if (bits & (1u << i))
                    s.members.push_back(names[i]);
            return TPropValue(s);
        };
        p.set = [setter, names](TObject& o, const TPropValue& v) { (Self(o).*setter)(SetBits(v, names)); };
        p.stored = [getter, def](const TObject& o) { return !def || (Self(o).*getter)() != *def; };
        out_.push_back(std::move(p));
        return *this;
    }

    // An event member; a method found by name on the stream's root must have
    // been registered with exactly the event's handler type.
    template <typename Sig> TPropertyList& EventProp(const char* name, Event<Sig> T::*member)
    {
        TPropInfo p = Base(name, TPropKind::Event);
        p.getMethodName = [member](const TObject& o) { return (Self(o).*member).MethodName(); };
        p.bindMethod = [member](TObject& o, const std::any& method, const std::string& methodName) {
            using H = typename Event<Sig>::Handler;
            const H* handler = std::any_cast<H>(&method);
            if (!handler)
                return false;
            (Self(o).*member).Bind(*handler, methodName);
            return true;
        };
        p.stored = [member](const TObject& o) { return !(Self(o).*member).MethodName().empty(); };
        out_.push_back(std::move(p));
        return *this;
    }

    template <typename C, typename S>
    TPropertyList& ComponentRef(const char* name, C* (T::*getter)() const, void (T::*setter)(S*))
    {
        TPropInfo p = Base(name, TPropKind::Component);
        p.getComponent = [getter](const TObject& o) -> TComponent* { return (Self(o).*getter)(); };
        p.setComponent = [setter](TObject& o, TComponent* c) {
            S* typed = c ? dynamic_cast<S*>(c) : nullptr;
            if (c && !typed)
                ThrowInvalidValue();
            (Self(o).*setter)(typed);
        };
        p.stored = [getter](const TObject& o) { return (Self(o).*getter)() != nullptr; };
        out_.push_back(std::move(p));
        return *this;
    }

    template <typename P> TPropertyList& Object(const char* name, P* (T::*getter)() const)
    {
        TPropInfo p = Base(name, TPropKind::Object);
        p.getObject = [getter](TObject& o) -> TPersistent* { return (Self(o).*getter)(); };
        p.stored = [](const TObject&) { return true; };
        out_.push_back(std::move(p));
        return *this;
    }

    // Anything else: hand-written accessors.
    TPropertyList& Custom(TPropInfo info)
    {
        out_.push_back(std::move(info));
        return *this;
    }

    static const T& Self(const TObject& o) { return static_cast<const T&>(o); }
    static T& Self(TObject& o) { return static_cast<T&>(o); }

private:
    static TPropInfo Base(const char* name, TPropKind kind)
    {
        TPropInfo p;
        p.name = name;
        p.kind = kind;
        return p;
    }

    std::vector<TPropInfo>& out_;
};


// Declares the class record and the overrides that expose it; use inside a
// class body derived from TComponent.
#define VN_COMPONENT(Name)                                               \
public:                                                                  \
    static const TClassInfo& StaticClassInfo();                          \
    const TClassInfo& ClassInfo() const override { return StaticClassInfo(); } \
    const char* ClassName() const override { return #Name; }             \
                                                                         \
private:

// Defines the class record in a .cpp. The property function fills a
// TPropertyList<Name>; the factory creates the class with an owner, or is
// empty for abstract classes (VN_DEFINE_ABSTRACT_COMPONENT).
#define VN_DEFINE_COMPONENT(Name, Parent, ...)                                            \
    const TClassInfo& Name::StaticClassInfo()                                             \
    {                                                                                     \
        static const TClassInfo info(                                                     \
            #Name, &Parent::StaticClassInfo(),                                            \
            [](std::vector<TPropInfo>& out) {                                             \
                TPropertyList<Name> p(out);                                               \
                (void)p;                                                                  \
                __VA_ARGS__                                                               \
            },                                                                            \
            [](TComponent* owner) -> TComponent* { return new Name(owner); });            \
        return info;                                                                      \
    }

#define VN_DEFINE_ABSTRACT_COMPONENT(Name, Parent, ...)                                   \
    const TClassInfo& Name::StaticClassInfo()                                             \
    {                                                                                     \
        static const TClassInfo info(                                                     \
            #Name, &Parent::StaticClassInfo(),                                            \
            [](std::vector<TPropInfo>& out) {                                             \
                TPropertyList<Name> p(out);                                               \
                (void)p;                                                                  \
                __VA_ARGS__                                                               \
            },                                                                            \
            nullptr);                                                                     \
        return info;                                                                      \
    }
