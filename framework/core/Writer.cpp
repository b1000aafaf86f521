#include "framework/core/Writer.h"

TWriter::TWriter(TStream& stream) : out_(stream) {}

void TWriter::WriteRootComponent(TComponent* root)
{
    root_ = root;
    out_.Stream().WriteBuffer(kFormSignature, 4);
    WriteComponent(root);
}

void TWriter::WriteComponent(TComponent* component)
{
    component->SetWritingState(true);
    try {
        out_.WriteShortString(component->ClassName());
        out_.WriteShortString(component->Name());
        component->WriteState(*this);
        out_.WriteListEnd();
        component->GetChildren([this](TComponent* child) { WriteComponent(child); }, root_);
        out_.WriteListEnd();
    } catch (...) {
        component->SetWritingState(false);
        throw;
    }
    component->SetWritingState(false);
}

void TComponent::WriteState(TWriter& writer) { writer.WriteProperties(*this, std::string()); }

void TWriter::WriteProperties(TObject& instance, const std::string& prefix)
{
    auto* persistent = dynamic_cast<TPersistent*>(&instance);
    if (!persistent)
        return;
    if (const TClassInfo* info = persistent->PublishedInfo()) {
        for (const TPropInfo* prop : info->AllProperties()) {
            if (prop->stored && !prop->stored(instance))
                continue;
            const std::string name = prefix + prop->name;
            switch (prop->kind) {
            case TPropKind::Object:
                if (TPersistent* nested = prop->getObject(instance))
                    WriteProperties(*nested, name + ".");
                break;
            case TPropKind::Event:
                out_.WriteShortString(name);
                out_.WriteIdent(prop->getMethodName(instance));
                break;
            case TPropKind::Component: {
                TComponent* target = prop->getComponent(instance);
                out_.WriteShortString(name);
                if (target)
                    out_.WriteIdent(target->Name());
                else
                    out_.WriteValueType(TValueType::vaNil);
                break;
            }
            default:
                out_.WriteShortString(name);
                out_.WriteValue(prop->get(instance));
            }
        }
    }
    const std::string outer = prefix_;
    prefix_ = prefix;
    persistent->DefineProperties(*this);
    prefix_ = outer;
}

void TWriter::DefineBinaryProperty(const std::string& name, std::function<void(TStream&)>,
                                   std::function<void(TStream&)> writeData, bool hasData)
{
    if (!hasData || !writeData)
        return;
    TMemoryStream block;
    writeData(block);
    out_.WriteShortString(prefix_ + name);
    out_.WriteBinary(block.Bytes());
}

std::vector<std::uint8_t> WriteComponentRes(TComponent* root)
{
    TMemoryStream stream;
    TWriter writer(stream);
    writer.WriteRootComponent(root);
    return stream.TakeBytes();
}
