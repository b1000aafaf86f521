#include "framework/core/Component.h"

#include <algorithm>
#include <cctype>

const TClassInfo& TComponent::StaticClassInfo()
{
    static const TClassInfo info(
        "TComponent", nullptr,
        [](std::vector<TPropInfo>& out) {
            TPropertyList<TComponent> p(out);
            p.Integer("Tag", &TComponent::Tag, &TComponent::SetTag, 0);
        },
        [](TComponent* owner) -> TComponent* { return new TComponent(owner); });
    return info;
}

TComponent::TComponent(TComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    state_ |= csDestroying;
    // Tell whoever asked; they drop their references to us.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& theirs = other->freeNotifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_)
        owner_->RemoveComponent(this);
}

static bool IsIdent(const std::string& name)
{
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_'))
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

void TComponent::SetName(const std::string& name)
{
    if (name == name_)
        return;
    if (!name.empty() && !IsIdent(name))
        throw EComponentError("'" + name + "' is not a valid component name");
    if (!name.empty() && owner_) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this)
            throw EComponentError("A component named " + name + " already exists");
    }
    name_ = name;
}

int TComponent::ComponentIndex() const
{
    if (!owner_)
        return -1;
    auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    if (name.empty())
        return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name))
            return c;
    return nullptr;
}

void TComponent::SetDesigning(bool designing)
{
    if (designing)
        state_ |= csDesigning;
    else
        state_ &= ~csDesigning;
    for (TComponent* c : components_)
        c->SetDesigning(designing);
}

void TComponent::SetLoadingState(bool loading)
{
    state_ = loading ? (state_ | csLoading) : (state_ & ~csLoading);
}
void TComponent::SetReadingState(bool reading)
{
    state_ = reading ? (state_ | csReading) : (state_ & ~csReading);
}
void TComponent::SetWritingState(bool writing)
{
    state_ = writing ? (state_ | csWriting) : (state_ & ~csWriting);
}

void TComponent::InsertComponent(TComponent* component)
{
    if (!component->name_.empty() && FindComponent(component->name_))
        throw EComponentError("A component named " + component->name_ + " already exists");
    if (component->owner_)
        component->owner_->RemoveComponent(component);
    Insert(component);
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    Notification(component, TOperation::opRemove);
    Remove(component);
}

void TComponent::Insert(TComponent* component)
{
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::Remove(TComponent* component)
{
    components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
    component->owner_ = nullptr;
}

void TComponent::DestroyComponents()
{
    // Last created first; each one takes itself off the list as it goes.
    while (!components_.empty()) {
        TComponent* last = components_.back();
        Remove(last);
        delete last;
    }
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
        freeNotifies_.push_back(component);
        component->freeNotifies_.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
    auto& theirs = component->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    // Owned components hear of each other's removal, as references between
    // siblings are common (a form's controls point at its other components).
    if (operation == TOperation::opRemove && component)
        RemoveFreeNotification(component);
    for (TComponent* c : components_)
        if (c != component)
            c->Notification(component, operation);
}

void TComponent::Loaded() { state_ &= ~csLoading; }

void TComponent::GetChildren(const std::function<void(TComponent*)>&, TComponent*) {}

const std::any* TComponent::MethodAddress(const std::string& name) const
{
    for (const auto& [key, method] : methods_)
        if (SameText(key, name))
            return &method;
    return nullptr;
}
