#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sys/component.h"

namespace {

class Recorder : public TComponent {
public:
    Recorder(TComponent* owner, std::string name, std::vector<std::string>& log)
        : TComponent(owner), name_(std::move(name)), log_(log)
    {
    }
    ~Recorder() override { log_.push_back("free " + name_); }

protected:
    void Loaded() override
    {
        TComponent::Loaded();
        log_.push_back(std::string("loaded ") + name_ +
                       (HasState(TComponentState::csLoading) ? " still loading" : ""));
    }

private:
    std::string name_;
    std::vector<std::string>& log_;
};

TEST(Component, OwnerFreesWhatItOwnsLastCreatedFirst)
{
    std::vector<std::string> log;
    auto* root = new Recorder(nullptr, "root", log);
    new Recorder(root, "a", log);
    auto* b = new Recorder(root, "b", log);
    new Recorder(b, "b1", log);
    auto* c = new Recorder(root, "c", log);
    EXPECT_EQ(root->ComponentCount(), 3);
    // A component freed early leaves its owner's list.
    delete c;
    EXPECT_EQ(root->ComponentCount(), 2);
    EXPECT_EQ(root->Components(1), b);
    delete root;
    EXPECT_EQ(log, (std::vector<std::string>{"free c", "free root", "free b", "free b1", "free a"}));
}

TEST(Component, LoadingEndsInLoadedAfterTheInheritedStep)
{
    std::vector<std::string> log;
    Recorder r(nullptr, "r", log);
    r.BeginLoading();
    EXPECT_TRUE(r.HasState(TComponentState::csLoading));
    r.EndLoading();
    EXPECT_FALSE(r.HasState(TComponentState::csLoading));
    EXPECT_EQ(log, (std::vector<std::string>{"loaded r"}));
}

TEST(Component, DesigningReachesOwnedComponentsAndLaterOnes)
{
    std::vector<std::string> log;
    Recorder root(nullptr, "root", log);
    auto* a = new Recorder(&root, "a", log);
    root.SetDesigning(true);
    auto* b = new Recorder(&root, "b", log);
    EXPECT_TRUE(a->HasState(TComponentState::csDesigning));
    EXPECT_TRUE(b->HasState(TComponentState::csDesigning));
    root.SetDesigning(false);
    EXPECT_FALSE(b->HasState(TComponentState::csDesigning));
}

}  // namespace
