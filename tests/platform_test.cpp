// What the system tells of a failed file operation.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "platform/platform.h"

TEST(LastSystemError, AFailureThatSetsNoErrnoIsNotReportedAsSuccess)
{
    errno = ENOENT;
    EXPECT_EQ(last_system_error(), std::strerror(ENOENT));
    errno = 0;
    EXPECT_EQ(last_system_error(), "unknown error");
}
