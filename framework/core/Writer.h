#pragma once
// TWriter: writes a component tree as a binary form stream (see TReader for
// the layout). Properties are written when their stored rule says so;
// byte-block properties come from the objects' DefineProperties.

#include "framework/core/Component.h"
#include "framework/core/Filer.h"
#include "framework/core/FormValues.h"

#include <string>

class TWriter : public TFiler {
public:
    explicit TWriter(TStream& stream);

    void WriteRootComponent(TComponent* root);
    void WriteComponent(TComponent* component);
    // For TComponent::WriteState: the properties of one object, names prefixed.
    void WriteProperties(TObject& instance, const std::string& prefix);

    void DefineBinaryProperty(const std::string& name, std::function<void(TStream&)> readData,
                              std::function<void(TStream&)> writeData, bool hasData) override;

    TValueWriter& Values() { return out_; }
    TComponent* Root() const { return root_; }

private:
    TValueWriter out_;
    TComponent* root_ = nullptr;
    std::string prefix_;
};

std::vector<std::uint8_t> WriteComponentRes(TComponent* root);
