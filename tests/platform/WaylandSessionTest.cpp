#include <gtest/gtest.h>

#include "platform/WaylandSession.h"

namespace scrivano::platform {
namespace {

TEST(WaylandSession, EitherVariableTellsIt) {
  const struct {
    const char* display;
    const char* type;
    bool wayland;
  } cases[] = {
      {nullptr, nullptr, false},    {"", "x11", false},         {"", "", false},
      {"wayland-0", nullptr, true}, {nullptr, "wayland", true}, {"", "Wayland", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsWaylandSession(c.display, c.type), c.wayland)
        << (c.display ? c.display : "null") << " " << (c.type ? c.type : "null");
}

}  // namespace
}  // namespace scrivano::platform
