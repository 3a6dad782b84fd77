#include <gtest/gtest.h>

#include "platform/kernel/host/SharedLibrary.h"

using qm::kernel::host::SharedLibrary;

// The sdl display reports these reasons as they are: they must name what
// is missing.
TEST(SharedLibrary, AMissingLibraryOrFunctionIsRefusedWithTheLoadersReason) {
  SharedLibrary missing;
  EXPECT_FALSE(missing.Open("libqm-no-such-library.so.0"));
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_NE(missing.Error().find("libqm-no-such-library.so.0"), std::string::npos) << missing.Error();
  EXPECT_EQ(missing.Find("anything"), nullptr);

  SharedLibrary math;
  ASSERT_TRUE(math.Open("libm.so.6")) << math.Error();
  auto* cosine = reinterpret_cast<double (*)(double)>(math.Find("cos"));
  ASSERT_NE(cosine, nullptr) << math.Error();
  EXPECT_EQ(cosine(0.0), 1.0);
  EXPECT_EQ(math.Find("qm_no_such_function"), nullptr);
  EXPECT_NE(math.Error().find("qm_no_such_function"), std::string::npos) << math.Error();
}
