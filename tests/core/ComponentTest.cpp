#include "framework/core/Component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<std::string>* gLog = nullptr;

class Logged : public TComponent {
public:
    Logged(TComponent* owner, std::string label) : TComponent(owner), label_(std::move(label)) {}
    ~Logged() override
    {
        if (gLog)
            gLog->push_back(label_);
    }

private:
    std::string label_;
};

class Watcher : public TComponent {
public:
    using TComponent::TComponent;
    TComponent* watched = nullptr;

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c == watched)
            watched = nullptr;
    }
};
}

TEST(Component, OwnerFreesOwnedComponentsLastCreatedFirst)
{
    std::vector<std::string> log;
    gLog = &log;
    {
        TComponent owner(nullptr);
        new Logged(&owner, "a");
        auto* b = new Logged(&owner, "b");
        new Logged(b, "b.child");
        new Logged(&owner, "c");
        EXPECT_EQ(owner.ComponentCount(), 3);
    }
    gLog = nullptr;
    // A destructor body runs before the components it owns are freed.
    EXPECT_EQ(log, (std::vector<std::string>{"c", "b", "b.child", "a"}));
}

TEST(Component, FreedComponentLeavesItsOwnerAndNotifiesWatchers)
{
    TComponent owner(nullptr);
    auto* target = new TComponent(&owner);
    auto* watcher = new Watcher(&owner);
    watcher->watched = target;
    watcher->FreeNotification(target);
    delete target;
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(watcher->watched, nullptr);
}

TEST(Component, NamesAreIdentifiersUniqueAmongSiblings)
{
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName("PMenu");
    EXPECT_THROW(b->SetName("pmenu"), EComponentError);
    EXPECT_THROW(b->SetName("1abc"), EComponentError);
    EXPECT_THROW(b->SetName("a-b"), EComponentError);
    b->SetName("S3_4");
    EXPECT_EQ(owner.FindComponent("s3_4"), b);
    EXPECT_EQ(owner.FindComponent("PMENU"), a);
}

TEST(Component, StrToIntAcceptsOnlyDecimalIntegers)
{
    EXPECT_EQ(StrToInt("1234"), 1234);
    EXPECT_EQ(StrToInt("-5"), -5);
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_THROW(StrToInt("12ab"), EConvertError);
    EXPECT_THROW(StrToInt(" 12"), EConvertError);
    EXPECT_THROW(StrToInt("99999999999"), EConvertError);
}
