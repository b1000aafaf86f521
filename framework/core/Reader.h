#pragma once
// TReader: builds a component tree from a binary form stream.
//
// Layout: "TPF0", then one component: [flags prefix] class name, name
// (short strings), properties (name + value) up to vaNull, child components
// up to vaNull. Nested properties are written "Picture.Data"; byte-block
// properties are declared by the object itself (DefineProperties). Children
// are created through the class registry and owned by the root.

#include "framework/core/Component.h"
#include "framework/core/Filer.h"
#include "framework/core/FormValues.h"

#include <string>
#include <vector>

class TReader : public TFiler {
public:
    explicit TReader(TStream& stream);

    // Reads the stream's component into root, which must be of the stream's
    // class (or derive from it). Creates, names and parents the children,
    // binds events to root's published methods, resolves references, then
    // calls Loaded on every component read. On failure the components created
    // so far are freed and the error passes to the caller as EReadError /
    // EClassNotFound with the component and property named.
    void ReadRootComponent(TComponent* root);

    // For TComponent::ReadState: the properties of one component.
    void ReadProperties(TComponent* instance);

    void DefineBinaryProperty(const std::string& name, std::function<void(TStream&)> readData,
                              std::function<void(TStream&)> writeData, bool hasData) override;

    TComponent* Root() const { return root_; }

private:
    void ReadComponent(TComponent* parent, int depth);
    void ReadProperty(TObject& instance, const std::string& path);
    void ReadPlainProperty(TObject& instance, const TPropInfo& prop);

    TValueReader in_;
    TComponent* root_ = nullptr;
    std::vector<TComponent*> loaded_;
    struct Fixup {
        TObject* instance;
        const TPropInfo* prop;
        std::string name;
    };
    std::vector<Fixup> fixups_;
    // DefineProperties lookup state
    std::string wantedName_;
    bool definedFound_ = false;
    std::string currentComponent_;
};

// Reads a whole form stream held in memory into root.
void ReadComponentRes(const std::vector<std::uint8_t>& bytes, TComponent* root);
