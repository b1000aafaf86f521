#include "framework/core/TypeInfo.h"

#include "framework/core/Component.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <mutex>

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

TClassInfo::TClassInfo(const char* name, const TClassInfo* parent, PropertyInit init, TComponentFactory factory)
    : name_(name), parent_(parent), init_(std::move(init)), factory_(std::move(factory))
{
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const
{
    for (const TClassInfo* c = this; c; c = c->parent_)
        if (c == &other)
            return true;
    return false;
}

const std::vector<TPropInfo>& TClassInfo::Own() const
{
    // Class records are static; the property lists are built on first use.
    static std::mutex lock;
    std::lock_guard guard(lock);
    if (!own_) {
        std::vector<TPropInfo> props;
        if (init_)
            init_(props);
        own_ = std::move(props);
    }
    return *own_;
}

const TPropInfo* TClassInfo::FindProperty(const std::string& name) const
{
    // A derived class may publish a property again with other rules; the most
    // derived declaration wins.
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const TPropInfo& p : c->Own())
            if (SameText(p.name, name))
                return &p;
    return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::AllProperties() const
{
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = this; c; c = c->parent_)
        chain.push_back(c);
    std::vector<const TPropInfo*> all;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        for (const TPropInfo& p : (*it)->Own()) {
            auto same = std::find_if(all.begin(), all.end(), [&](const TPropInfo* q) { return SameText(q->name, p.name); });
            if (same != all.end())
                *same = &p;
            else
                all.push_back(&p);
        }
    return all;
}

namespace {
std::map<std::string, const TClassInfo*>& Registry()
{
    static std::map<std::string, const TClassInfo*> classes;
    return classes;
}
std::mutex& RegistryLock()
{
    static std::mutex lock;
    return lock;
}
}

void RegisterClass(const TClassInfo& info)
{
    std::lock_guard guard(RegistryLock());
    Registry()[info.Name()] = &info;
}

const TClassInfo* FindClassInfo(const std::string& name)
{
    std::lock_guard guard(RegistryLock());
    for (const auto& [key, info] : Registry())
        if (SameText(key, name))
            return info;
    return nullptr;
}

void ThrowInvalidValue() { throw EReadError("Invalid property value"); }

std::int64_t AsInteger(const TPropValue& v)
{
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return *i;
    ThrowInvalidValue();
}

bool AsBoolean(const TPropValue& v)
{
    if (const auto* b = std::get_if<bool>(&v))
        return *b;
    ThrowInvalidValue();
}

std::string AsString(const TPropValue& v)
{
    if (const auto* s = std::get_if<std::string>(&v))
        return *s;
    ThrowInvalidValue();
}

int IdentIndex(const TPropValue& v, const std::vector<std::string>& names)
{
    if (const auto* id = std::get_if<TIdent>(&v))
        for (std::size_t i = 0; i < names.size(); ++i)
            if (SameText(names[i], id->name))
                return static_cast<int>(i);
    ThrowInvalidValue();
}

std::uint32_t SetBits(const TPropValue& v, const std::vector<std::string>& names)
{
    const auto* set = std::get_if<TSetValue>(&v);
    if (!set)
        ThrowInvalidValue();
    std::uint32_t bits = 0;
    for (const std::string& member : set->members) {
        const int i = IdentIndex(TIdent{member}, names);
        if (i >= 32)
            ThrowInvalidValue();
        bits |= 1u << i;
    }
    return bits;
}
