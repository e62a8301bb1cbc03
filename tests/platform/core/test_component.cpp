// Components: the owner tree, lookup by name and the notice of a freed one.
#include <gtest/gtest.h>

#include "TComponent.h"

namespace {

class Watcher : public TComponent {
public:
    using TComponent::TComponent;
    TComponent* ref = nullptr;
    void Notification(TComponent* c, TOperation op) override
    {
        if (op == TOperation::opRemove && c == ref)
            ref = nullptr;
    }
};

TEST(Component, OwnerTreeAndFreeNotification)
{
    TComponent owner;
    auto* a = new TComponent(&owner);
    a->SetName(QStringLiteral("Alpha"));
    auto* w = new Watcher(&owner);
    EXPECT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(owner.Components(0), a);
    EXPECT_EQ(owner.FindComponent(QStringLiteral("ALPHA")), a);

    w->ref = a;
    w->FreeNotification(a);
    delete a;
    EXPECT_EQ(w->ref, nullptr);
    EXPECT_EQ(owner.ComponentCount(), 1);
}

} // namespace
