#include "framework/core/Reader.h"
#include "framework/core/Writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

enum TShape { stOne, stTwo, stThree };

// A nested persistent that stores one byte block of its own.
class TBlob : public TPersistent {
public:
    const char* ClassName() const override { return "TBlob"; }
    std::vector<std::uint8_t> bytes;
    void DefineProperties(TFiler& filer) override
    {
        filer.DefineBinaryProperty(
            "Data",
            [this](TStream& s) {
                bytes.resize(static_cast<std::size_t>(s.Size()));
                s.ReadBuffer(bytes.data(), s.Size());
            },
            [this](TStream& s) { s.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size())); },
            !bytes.empty());
    }
};

class TItem : public TComponent {
    VN_COMPONENT(TItem)
public:
    explicit TItem(TComponent* owner) : TComponent(owner) {}
    ~TItem() override
    {
        for (TItem* c : children)
            c->parent = nullptr;
        if (parent)
            std::erase(parent->children, this);
    }

    int Left() const { return left; }
    void SetLeft(int v) { left = v; }
    bool Flag() const { return flag; }
    void SetFlag(bool v) { flag = v; }
    std::string Caption() const { return caption; }
    void SetCaption(const std::string& v) { caption = v; }
    TShape Shape() const { return shape; }
    void SetShape(TShape v) { shape = v; }
    std::uint32_t Options() const { return options; }
    void SetOptions(std::uint32_t v) { options = v; }
    TComponent* Buddy() const { return buddy; }
    void SetBuddy(TComponent* v) { buddy = v; }
    TBlob* Blob() const { return const_cast<TBlob*>(&blob); }

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return parent; }
    void SetParentComponent(TComponent* p) override
    {
        parent = dynamic_cast<TItem*>(p);
        if (parent)
            parent->children.push_back(this);
    }
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) override
    {
        for (TItem* c : children)
            proc(c);
    }
    void Loaded() override
    {
        TComponent::Loaded();
        ++loadedCalls;
    }
    void DefineProperties(TFiler& filer) override
    {
        filer.DefineBinaryProperty(
            "Packed", [this](TStream& s) { packed = static_cast<int>(s.Size()); },
            [this](TStream& s) {
                std::vector<std::uint8_t> b(static_cast<std::size_t>(packed), 0xAB);
                s.WriteBuffer(b.data(), packed);
            },
            packed > 0);
    }

    int left = 0;
    bool flag = false;
    std::string caption;
    TShape shape = stOne;
    std::uint32_t options = 0;
    TComponent* buddy = nullptr;
    TBlob blob;
    int packed = 0;
    int loadedCalls = 0;
    Event<void(TObject*)> OnPing;
    TItem* parent = nullptr;
    std::vector<TItem*> children;
};

VN_DEFINE_COMPONENT(TItem, TComponent,
    p.Integer("Left", &TItem::Left, &TItem::SetLeft, 0);
    p.Boolean("Flag", &TItem::Flag, &TItem::SetFlag, false);
    p.String("Caption", &TItem::Caption, &TItem::SetCaption);
    p.Enum("Shape", &TItem::Shape, &TItem::SetShape, {"stOne", "stTwo", "stThree"}, stOne);
    p.Set("Options", &TItem::Options, &TItem::SetOptions, {"opA", "opB", "opC"}, 0u);
    p.ComponentRef("Buddy", &TItem::Buddy, &TItem::SetBuddy);
    p.Object("Blob", &TItem::Blob);
    p.EventProp("OnPing", &TItem::OnPing);
)

class TRootForm : public TComponent {
    VN_COMPONENT(TRootForm)
public:
    explicit TRootForm(TComponent* owner) : TComponent(owner)
    {
        PublishMethod<void(TObject*)>("ItemPing", &TRootForm::ItemPing);
    }
    void ItemPing(TObject* sender) { lastPing = sender; }
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) override
    {
        for (int i = 0; i < ComponentCount(); ++i)
            if (!Components(i)->GetParentComponent())
                proc(Components(i));
    }
    TObject* lastPing = nullptr;
};

VN_DEFINE_COMPONENT(TRootForm, TComponent)

struct Registration {
    Registration()
    {
        RegisterClass(TItem::StaticClassInfo());
        RegisterClass(TRootForm::StaticClassInfo());
    }
} registration;

TItem* Item(TComponent& root, const char* name) { return dynamic_cast<TItem*>(root.FindComponent(name)); }

// A root with two top-level items, one nesting a child, every kind of value.
void Populate(TRootForm& root)
{
    root.SetName("Form1");
    auto* a = new TItem(&root);
    a->SetName("PMenu");
    a->left = -300;
    a->flag = true;
    a->caption = "\x95\x5C\x8E\xA6"; // 表示 in code page 932: a trail byte 0x5C
    a->shape = stThree;
    a->options = 0b101;
    a->blob.bytes = {1, 2, 3, 250};
    a->packed = 1000;
    auto* b = new TItem(&root);
    b->SetName("BQuit");
    b->SetParentComponent(a);
    b->left = 70000;
    b->SetTag(2);
    b->buddy = a;
    b->OnPing.Bind([&root](TObject* s) { root.ItemPing(s); }, "ItemPing");
    auto* c = new TItem(&root);
    c->SetName("Click");
    c->caption = std::string(300, 'x');
}
}

TEST(FormStream, WriteThenReadGivesTheSameTree)
{
    TRootForm original(nullptr);
    Populate(original);
    const std::vector<std::uint8_t> bytes = WriteComponentRes(&original);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "TPF0");

    TRootForm copy(nullptr);
    ReadComponentRes(bytes, &copy);
    EXPECT_EQ(copy.Name(), "Form1");
    ASSERT_EQ(copy.ComponentCount(), 3);
    TItem* a = Item(copy, "PMenu");
    TItem* b = Item(copy, "BQuit");
    TItem* c = Item(copy, "Click");
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->left, -300);
    EXPECT_TRUE(a->flag);
    EXPECT_EQ(a->caption, "\x95\x5C\x8E\xA6");
    EXPECT_EQ(a->shape, stThree);
    EXPECT_EQ(a->options, 0b101u);
    EXPECT_EQ(a->blob.bytes, (std::vector<std::uint8_t>{1, 2, 3, 250}));
    EXPECT_EQ(a->packed, 1000);
    EXPECT_EQ(b->parent, a);
    EXPECT_EQ(b->left, 70000);
    EXPECT_EQ(b->Tag(), 2);
    EXPECT_EQ(b->buddy, a);
    EXPECT_EQ(c->caption.size(), 300u);
    EXPECT_EQ(c->parent, nullptr);
    EXPECT_EQ(a->loadedCalls, 1);
    EXPECT_FALSE(a->IsLoading());

    // The event was bound to the new root's published method.
    b->OnPing(b);
    EXPECT_EQ(copy.lastPing, b);
    EXPECT_EQ(b->OnPing.MethodName(), "ItemPing");

    // And the tree writes back to the same bytes.
    EXPECT_EQ(WriteComponentRes(&copy), bytes);
}

TEST(FormStream, DefaultValuesAreNotWritten)
{
    TRootForm root(nullptr);
    auto* a = new TItem(&root);
    a->SetName("Plain");
    const auto bytes = WriteComponentRes(&root);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.find("Left"), std::string::npos);
    EXPECT_EQ(text.find("Shape"), std::string::npos);
    EXPECT_EQ(text.find("Blob.Data"), std::string::npos);
    a->blob.bytes = {7};
    const auto withBlob = WriteComponentRes(&root);
    EXPECT_NE(std::string(withBlob.begin(), withBlob.end()).find("Blob.Data"), std::string::npos);
}

TEST(FormStream, UnknownClassPropertyOrMethodFailsClearly)
{
    auto build = [](const std::string& cls, const std::string& prop, TValueType type, const std::string& value) {
        TMemoryStream s;
        TValueWriter w(s);
        s.WriteBuffer("TPF0", 4);
        w.WriteShortString("TRootForm");
        w.WriteShortString("Form1");
        w.WriteListEnd();
        w.WriteShortString(cls);
        w.WriteShortString("X1");
        w.WriteShortString(prop);
        w.WriteValueType(type);
        w.WriteShortString(value);
        w.WriteListEnd();
        w.WriteListEnd();
        w.WriteListEnd();
        return s.TakeBytes();
    };
    TRootForm root(nullptr);
    try {
        ReadComponentRes(build("TNoSuch", "Left", TValueType::vaIdent, "x"), &root);
        FAIL();
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), "Class TNoSuch not found");
    }
    try {
        ReadComponentRes(build("TItem", "Height", TValueType::vaIdent, "x"), &root);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Error reading X1.Height: Property Height does not exist");
    }
    EXPECT_THROW(ReadComponentRes(build("TItem", "OnPing", TValueType::vaIdent, "NoMethod"), &root), EReadError);
    EXPECT_THROW(ReadComponentRes(build("TItem", "Shape", TValueType::vaIdent, "stNine"), &root), EReadError);
    EXPECT_THROW(ReadComponentRes(build("TItem", "Left", TValueType::vaString, "12"), &root), EReadError);
    EXPECT_THROW(ReadComponentRes(build("TItem", "Buddy", TValueType::vaIdent, "Nobody"), &root), EReadError);
    // Nothing half-read stays behind.
    EXPECT_EQ(root.ComponentCount(), 0);
}

TEST(FormStream, EveryTruncationFailsCleanly)
{
    TRootForm original(nullptr);
    Populate(original);
    const auto bytes = WriteComponentRes(&original);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        TRootForm root(nullptr);
        const std::vector<std::uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_THROW(ReadComponentRes(part, &root), Exception) << "cut at " << cut;
        EXPECT_EQ(root.ComponentCount(), 0);
    }
}

TEST(FormStream, DamagedBytesNeverCrash)
{
    TRootForm original(nullptr);
    Populate(original);
    const auto bytes = WriteComponentRes(&original);
    std::mt19937 rng(1234);
    for (int round = 0; round < 3000; ++round) {
        auto damaged = bytes;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < flips; ++i)
            damaged[rng() % damaged.size()] = static_cast<std::uint8_t>(rng());
        TRootForm root(nullptr);
        try {
            ReadComponentRes(damaged, &root);
        } catch (const Exception&) {
        }
    }
}

TEST(FormStream, HugeLengthsAndDeepNestingAreRefused)
{
    TMemoryStream s;
    TValueWriter w(s);
    s.WriteBuffer("TPF0", 4);
    w.WriteShortString("TRootForm");
    w.WriteShortString("Form1");
    w.WriteShortString("Caption");
    w.WriteValueType(TValueType::vaLString);
    s.WriteValue<std::int32_t>(0x7FFFFFF0);
    TRootForm root(nullptr);
    EXPECT_THROW(ReadComponentRes(s.Bytes(), &root), EReadError);

    TMemoryStream deep;
    TValueWriter d(deep);
    deep.WriteBuffer("TPF0", 4);
    d.WriteShortString("TRootForm");
    d.WriteShortString("Form1");
    d.WriteListEnd();
    for (int i = 0; i < 200; ++i) {
        d.WriteShortString("TItem");
        d.WriteShortString("N" + std::to_string(i));
        d.WriteListEnd();
    }
    TRootForm root2(nullptr);
    EXPECT_THROW(ReadComponentRes(deep.Bytes(), &root2), EReadError);
}

TEST(FormStream, ExtendedValuesRoundTrip)
{
    for (double v : {0.0, 1.0, -2.5, 1e-300, 12345.678, 3.0e300}) {
        std::uint8_t ext[10];
        DoubleToExtended(v, ext);
        EXPECT_EQ(ExtendedToDouble(ext), v);
    }
    // 1.0 as the classic 80-bit layout.
    std::uint8_t one[10];
    DoubleToExtended(1.0, one);
    const std::uint8_t expected[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
    EXPECT_TRUE(std::equal(one, one + 10, expected));
}
