// The class registry: lookup without case, one entry per name, the base a
// lookup may demand, and class groups acting as one.
#include "platform/objects/class_registry.h"

#include "tests/platform/objects/stream_test_classes.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace stream_test;

// A class registered only by the tests below.
class TRegistryProbe : public TTestWidget {
    PLAT_CLASS(TRegistryProbe, TTestWidget)
public:
    using TTestWidget::TTestWidget;
};

PLAT_DEFINE_CLASS(TRegistryProbe, TTestWidget)

// Another class that claims the probe's name.
const plat::TClassInfo kImpostor("TRegistryProbe", plat::TComponent::StaticClass(), nullptr, {});

TEST(ClassRegistry, RegisterFindAndUnregister)
{
    EXPECT_EQ(plat::GetClass("TRegistryProbe"), nullptr);
    try {
        plat::FindClass("TRegistryProbe");
        FAIL() << "no error";
    } catch (const plat::EClassNotFound& e) {
        EXPECT_STREQ(e.what(), "Class TRegistryProbe not found");
    }

    plat::RegisterClass(TRegistryProbe::StaticClass());
    plat::RegisterClass(TRegistryProbe::StaticClass());   // a second time: still one entry
    EXPECT_EQ(plat::FindClass("tregistryPROBE"), TRegistryProbe::StaticClass());
    EXPECT_THROW(plat::RegisterClass(&kImpostor), plat::EFilerError);
    EXPECT_EQ(plat::FindClass("TRegistryProbe"), TRegistryProbe::StaticClass());

    plat::UnRegisterClass(&kImpostor);   // not the registered class: nothing changes
    EXPECT_EQ(plat::GetClass("TRegistryProbe"), TRegistryProbe::StaticClass());
    plat::UnRegisterClass(TRegistryProbe::StaticClass());
    EXPECT_EQ(plat::GetClass("TRegistryProbe"), nullptr);
    EXPECT_THROW(plat::FindClass("TRegistryProbe"), plat::EClassNotFound);
}

TEST(ClassRegistry, FindClassCanDemandABaseClass)
{
    RegisterStreamTestClasses();
    const plat::TClass widget = TTestWidget::StaticClass();
    EXPECT_EQ(plat::FindClass("TTestBook", widget), TTestBook::StaticClass());
    EXPECT_EQ(plat::FindClass("TTestWidget", widget), widget);
    EXPECT_THROW(plat::FindClass("TTestTimer", widget), plat::EClassNotFound);
    EXPECT_THROW(plat::FindClass("TTestFont", plat::TComponent::StaticClass()), plat::EClassNotFound);
}

TEST(ClassRegistry, AClassReferenceBuildsItsOwnSubclass)
{
    RegisterStreamTestClasses();
    const plat::TClass cls = plat::FindClass("ttestbook", TTestWidget::StaticClass());
    TTestWidget owner(nullptr);
    TTestWidget* built = cls->CreateAs<TTestWidget>(&owner);
    EXPECT_NE(dynamic_cast<TTestBook*>(built), nullptr);
    EXPECT_EQ(built->ClassName(), "TTestBook");
    EXPECT_EQ(built->Owner(), &owner);
}

TEST(ClassRegistry, ClassGroupsActAsOne)
{
    RegisterStreamTestClasses();
    plat::StartClassGroup(TTestWidget::StaticClass());
    const plat::TClass before = plat::ActivateClassGroup(TTestWidget::StaticClass());
    plat::GroupDescendentsWith(TTestItem::StaticClass(), TTestWidget::StaticClass());
    EXPECT_EQ(plat::FindClass("TTestTimer"), TTestTimer::StaticClass());
    EXPECT_EQ(plat::FindClass("TTestItem"), TTestItem::StaticClass());
    EXPECT_EQ(plat::ActivateClassGroup(before), TTestWidget::StaticClass());
    EXPECT_EQ(plat::FindClass("TTestBook"), TTestBook::StaticClass());
}

} // namespace
