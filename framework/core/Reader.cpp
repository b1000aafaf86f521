#include "framework/core/Reader.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kMaxComponentDepth = 64;

std::string Describe(const std::exception& e)
{
    return e.what();
}
}

TReader::TReader(TStream& stream) : in_(stream) {}

void TReader::ReadRootComponent(TComponent* root)
{
    char signature[4];
    in_.Stream().ReadBuffer(signature, 4);
    if (std::memcmp(signature, kFormSignature, 4) != 0)
        throw EReadError("Invalid stream format");

    root_ = root;
    loaded_.clear();
    fixups_.clear();
    const std::size_t ownedBefore = static_cast<std::size_t>(root->ComponentCount());
    try {
        std::uint8_t prefix = in_.ReadByte();
        if ((prefix & 0xF0) == 0xF0) {
            if (prefix & 0x02)
                in_.ReadValue(); // position among siblings: not used for a root
        } else {
            in_.Stream().Seek(-1, TSeekOrigin::soCurrent);
        }
        const std::string className = in_.ReadShortString();
        const TClassInfo* info = FindClassInfo(className);
        if (!(SameText(className, root->ClassName()) || (info && root->ClassInfo().InheritsFrom(*info))))
            throw EReadError("Stream holds a " + className + ", not a " + root->ClassName());
        const std::string name = in_.ReadShortString();
        root->SetLoadingState(true);
        root->SetReadingState(true);
        loaded_.push_back(root);
        if (!name.empty())
            root->SetName(name);
        currentComponent_ = root->Name();
        root->ReadState(*this);
        while (!in_.EndOfList())
            ReadComponent(root, 1);
        in_.ReadListEnd();

        for (const Fixup& f : fixups_) {
            TComponent* target = SameText(f.name, root->Name()) ? root : root->FindComponent(f.name);
            if (!target)
                throw EReadError("Error reading " + f.prop->name + ": component " + f.name + " not found");
            f.prop->setComponent(*f.instance, target);
        }
    } catch (...) {
        // Free what this stream created; the root itself belongs to the caller.
        for (TComponent* c : loaded_)
            c->SetReadingState(false);
        while (static_cast<std::size_t>(root->ComponentCount()) > ownedBefore)
            delete root->Components(root->ComponentCount() - 1);
        root->SetLoadingState(false);
        throw;
    }
    for (TComponent* c : loaded_)
        c->SetReadingState(false);
    for (TComponent* c : loaded_)
        c->Loaded();
}

void TReader::ReadComponent(TComponent* parent, int depth)
{
    if (depth > kMaxComponentDepth)
        throw EReadError("Invalid stream format: components nested too deeply");
    std::uint8_t prefix = in_.ReadByte();
    if ((prefix & 0xF0) == 0xF0) {
        if (prefix & 0x02)
            in_.ReadValue();
    } else {
        in_.Stream().Seek(-1, TSeekOrigin::soCurrent);
    }
    const std::string className = in_.ReadShortString();
    const std::string name = in_.ReadShortString();

    TComponent* component = name.empty() ? nullptr : root_->FindComponent(name);
    if (!component) {
        const TClassInfo* info = FindClassInfo(className);
        if (!info || !info->Factory())
            throw EClassNotFound("Class " + className + " not found");
        component = info->Factory()(root_);
        try {
            component->SetLoadingState(true);
            component->SetReadingState(true);
            component->SetName(name);
            component->SetParentComponent(parent);
        } catch (...) {
            delete component;
            throw;
        }
    } else {
        component->SetLoadingState(true);
        component->SetReadingState(true);
    }
    loaded_.push_back(component);
    const std::string outer = currentComponent_;
    currentComponent_ = name;
    component->ReadState(*this);
    while (!in_.EndOfList())
        ReadComponent(component, depth + 1);
    in_.ReadListEnd();
    currentComponent_ = outer;
}

void TReader::ReadProperties(TComponent* instance)
{
    while (!in_.EndOfList()) {
        const std::string path = in_.ReadShortString();
        try {
            ReadProperty(*instance, path);
        } catch (const EClassNotFound&) {
            throw;
        } catch (const Exception& e) {
            const std::string head = "Error reading " + currentComponent_ + "." + path + ": ";
            if (e.Message().rfind("Error reading ", 0) == 0)
                throw;
            throw EReadError(head + Describe(e));
        }
    }
    in_.ReadListEnd();
}

void TReader::ReadProperty(TObject& instance, const std::string& path)
{
    TObject* object = &instance;
    std::string rest = path;
    for (;;) {
        const std::size_t dot = rest.find('.');
        if (dot == std::string::npos)
            break;
        const std::string head = rest.substr(0, dot);
        auto* persistent = dynamic_cast<TPersistent*>(object);
        const TClassInfo* info = persistent ? persistent->PublishedInfo() : nullptr;
        const TPropInfo* prop = info ? info->FindProperty(head) : nullptr;
        if (!prop || prop->kind != TPropKind::Object)
            throw EReadError("Property " + head + " does not exist");
        object = prop->getObject(*object);
        if (!object)
            throw EReadError("Property " + head + " does not exist");
        rest = rest.substr(dot + 1);
    }

    // Byte blocks and other properties the object declares itself come first.
    if (auto* persistent = dynamic_cast<TPersistent*>(object)) {
        wantedName_ = rest;
        definedFound_ = false;
        persistent->DefineProperties(*this);
        wantedName_.clear();
        if (definedFound_)
            return;
        if (const TClassInfo* info = persistent->PublishedInfo())
            if (const TPropInfo* prop = info->FindProperty(rest)) {
                ReadPlainProperty(*object, *prop);
                return;
            }
    }
    throw EReadError("Property " + rest + " does not exist");
}

void TReader::DefineBinaryProperty(const std::string& name, std::function<void(TStream&)> readData,
                                   std::function<void(TStream&)>, bool)
{
    if (definedFound_ || wantedName_.empty() || !SameText(name, wantedName_))
        return;
    definedFound_ = true;
    if (in_.ReadValueType() != TValueType::vaBinary)
        throw EReadError("Invalid property value");
    TMemoryStream block(in_.ReadBinaryBody());
    if (readData)
        readData(block);
}

void TReader::ReadPlainProperty(TObject& instance, const TPropInfo& prop)
{
    switch (prop.kind) {
    case TPropKind::Event: {
        const TPropValue v = in_.ReadValue();
        if (std::holds_alternative<TNilValue>(v))
            return;
        const auto* ident = std::get_if<TIdent>(&v);
        if (!ident)
            ThrowInvalidValue();
        const std::any* method = root_->MethodAddress(ident->name);
        if (!method)
            throw EReadError("Invalid property value: method " + ident->name + " not found");
        if (!prop.bindMethod(instance, *method, ident->name))
            throw EReadError("Invalid property value: method " + ident->name + " does not fit the event");
        return;
    }
    case TPropKind::Component: {
        const TPropValue v = in_.ReadValue();
        if (std::holds_alternative<TNilValue>(v)) {
            prop.setComponent(instance, nullptr);
            return;
        }
        const auto* ident = std::get_if<TIdent>(&v);
        if (!ident)
            ThrowInvalidValue();
        fixups_.push_back({&instance, &prop, ident->name});
        return;
    }
    case TPropKind::Object:
        // A nested object written as a whole value is not part of this format.
        ThrowInvalidValue();
    default: {
        TPropValue v = in_.ReadValue();
        // Identifiers True and False arrive as Booleans; a Boolean property
        // written as an identifier is taken too.
        if (prop.kind == TPropKind::Boolean)
            if (const auto* id = std::get_if<TIdent>(&v)) {
                if (SameText(id->name, "True"))
                    v = true;
                else if (SameText(id->name, "False"))
                    v = false;
            }
        if (prop.kind == TPropKind::Float)
            if (const auto* i = std::get_if<std::int64_t>(&v))
                v = static_cast<double>(*i);
        if (!prop.set)
            ThrowInvalidValue();
        prop.set(instance, v);
    }
    }
}

void TComponent::ReadState(TReader& reader) { reader.ReadProperties(this); }

void ReadComponentRes(const std::vector<std::uint8_t>& bytes, TComponent* root)
{
    TSpanStream stream(bytes);
    TReader reader(stream);
    reader.ReadRootComponent(root);
}
