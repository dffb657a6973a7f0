// Method-pointer events: calls, and equality by code and by object.
#include "platform/objects/events.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class TCounter {
public:
    void Bump(plat::TObject*) { ++Count; }
    void Other(plat::TObject*) { Count += 100; }
    int Twice(int value) const { return 2 * value + Count; }
    int Count = 0;
};

class TDerivedCounter : public TCounter {};

int Negate(int value)
{
    return -value;
}

TEST(Event, CallsTheBoundCodeOnTheBoundObject)
{
    TCounter counter;
    plat::TNotifyEvent bump(&counter, &TCounter::Bump);
    bump(nullptr);
    bump(nullptr);
    EXPECT_EQ(counter.Count, 2);

    const TCounter& constCounter = counter;
    plat::TEvent<int(int)> twice(&constCounter, &TCounter::Twice);
    EXPECT_EQ(twice(5), 12);
    EXPECT_EQ(plat::TEvent<int(int)>(&Negate)(4), -4);

    int seen = 0;
    plat::TEvent<void(int)> closure([&seen](int value) { seen = value; });
    closure(9);
    EXPECT_EQ(seen, 9);

    plat::TEvent<int(int)> unassigned;
    EXPECT_FALSE(unassigned.Assigned());
    EXPECT_EQ(unassigned(3), 0);   // does nothing
}

TEST(Event, ComparesByCodeAndByObject)
{
    TCounter a;
    TCounter b;
    TDerivedCounter derived;
    const plat::TNotifyEvent aBump(&a, &TCounter::Bump);
    struct TCase {
        const char* Name;
        plat::TNotifyEvent Other;
        bool Equal;
        bool SameCode;
    };
    const std::vector<TCase> cases = {
        {"same object, same method", plat::TNotifyEvent(&a, &TCounter::Bump), true, true},
        {"other object, same method", plat::TNotifyEvent(&b, &TCounter::Bump), false, true},
        {"same object, other method", plat::TNotifyEvent(&a, &TCounter::Other), false, false},
        {"derived object, inherited method", plat::TNotifyEvent(&derived, &TCounter::Bump), false, true},
        {"unassigned", plat::TNotifyEvent(), false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(aBump == c.Other, c.Equal);
        EXPECT_EQ(aBump.SameCode(c.Other), c.SameCode);
    }
    EXPECT_EQ(aBump.Data(), &a);

    int calls = 0;
    auto lambda = [&calls](plat::TObject*) { ++calls; };
    const plat::TNotifyEvent closure(lambda);
    const plat::TNotifyEvent copy = closure;
    EXPECT_TRUE(copy == closure);
    EXPECT_FALSE(plat::TNotifyEvent(lambda) == closure);   // another stored copy
    // Without captures a lambda is a plain function: the same code each time.
    auto plain = [](int value) { return value; };
    EXPECT_TRUE(plat::TEvent<int(int)>(plain) == plat::TEvent<int(int)>(plain));
    EXPECT_TRUE(plat::TEvent<int(int)>(&Negate) == plat::TEvent<int(int)>(&Negate));
}

} // namespace
