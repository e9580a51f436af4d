// Every object's names: which object a variable reaches, and which earlier object a later one
// that is written as the same variable takes the name from.

#include <gtest/gtest.h>

#include "itempass/object_names.h"

TEST(ObjectNames, AVariableReachesItsLastObjectWrittenAsAStatementOrElseItsFirst)
{
    ObjectNames names;
    EXPECT_EQ(names.add("a-1", 3, false, CommentReason::unlisted_type), std::nullopt);
    EXPECT_EQ(names.object_named("a_1"), 0u);
    EXPECT_EQ(names.add("a_1", 4, false, CommentReason::none), std::nullopt);
    EXPECT_EQ(names.add("a - 1", 5, true, CommentReason::off_grid), std::nullopt);
    EXPECT_EQ(names.object_named("a-1"), 1u);
    // A line beyond 32 bits is given back whole.
    EXPECT_EQ(names.add("a_1", 5000000000L, false, CommentReason::none), std::optional<long>(4));
    EXPECT_EQ(names.add("a-1", 6, false, CommentReason::none), std::optional<long>(4));
    EXPECT_EQ(names.object_named("a_1"), 4u);
    EXPECT_EQ(names.object_named("b"), no_object);
    EXPECT_EQ(names.line_of(3), 5000000000L);
    EXPECT_EQ(names.id_of(2), "a - 1");
    EXPECT_TRUE(names.is_held(2));
    EXPECT_EQ(names.reason_of(2), CommentReason::off_grid);
    names.set_reason(1, CommentReason::no_holder);
    EXPECT_EQ(names.reason_of(1), CommentReason::no_holder);
    EXPECT_FALSE(names.is_held(1));
}
