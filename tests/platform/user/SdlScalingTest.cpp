// Where the screen sits in the host window and how host pixels map back:
// whole factors where they fit, bars around the rest, a shrunk screen in a
// small window; and the scale factor chosen at opening.
#include <SDL.h>
#include <gtest/gtest.h>

#include <optional>

#include "platform/ui/backend/SdlInput.h"
#include "platform/ui/backend/SdlScaling.h"
#include "SdlEvents.h"
#include "support/RectSides.h"

namespace qm::test {
namespace {

using qm::ui::sdl::PlaceScreen;
using qm::ui::sdl::ScreenPlacement;

constexpr SIZE kScreen{1024, 768};

TEST(SdlScalingTest, HostPixelsMapBackExactlyAndTheBarsGiveNothing) {
  const ScreenPlacement twice = PlaceScreen(kScreen, {2048, 1536});
  const ScreenPlacement barred = PlaceScreen(kScreen, {2100, 1600});  // twice, from (26, 32) to (2074, 1568)
  const ScreenPlacement once = PlaceScreen(kScreen, {2047, 1536});    // just short of twice: from (511, 384)
  const ScreenPlacement shrunk = PlaceScreen(kScreen, {512, 400});    // half, from (0, 8) to (512, 392)
  struct Row {
    const char* name;
    const ScreenPlacement* placement;
    POINT host;
    std::optional<POINT> screen;
  } rows[] = {
      {"origin", &twice, {0, 0}, POINT{0, 0}},
      {"same screen pixel", &twice, {1, 1}, POINT{0, 0}},
      {"next screen pixel", &twice, {2, 3}, POINT{1, 1}},
      {"last pixel", &twice, {2047, 1535}, POINT{1023, 767}},
      {"left bar", &barred, {25, 100}, std::nullopt},
      {"top bar", &barred, {100, 31}, std::nullopt},
      {"first pixel after the bars", &barred, {26, 32}, POINT{0, 0}},
      {"last pixel before the bars", &barred, {2073, 1567}, POINT{1023, 767}},
      {"right bar", &barred, {2074, 100}, std::nullopt},
      {"bottom bar", &barred, {100, 1568}, std::nullopt},
      {"unscaled, centred", &once, {511, 384}, POINT{0, 0}},
      {"unscaled, bar", &once, {1535, 384}, std::nullopt},
      {"shrunk", &shrunk, {256, 200}, POINT{512, 384}},
      {"shrunk, last", &shrunk, {511, 391}, POINT{1022, 766}},
      {"shrunk, bar", &shrunk, {10, 7}, std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::optional<POINT> screen = qm::ui::sdl::ScreenPointAt(*row.placement, row.host);
    ASSERT_EQ(screen.has_value(), row.screen.has_value());
    if (!screen) continue;
    EXPECT_EQ(XY(*screen), XY(*row.screen));
  }
}

TEST(SdlScalingTest, PressesOnTheBarsAreNoInputButReleasesThereEndAPress) {
  const ScreenPlacement barred = PlaceScreen(kScreen, {2100, 1600});
  qm::ui::InputEvent input;
  EXPECT_FALSE(qm::ui::sdl::TranslateEvent(SdlButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 500), barred, input));
  ASSERT_TRUE(qm::ui::sdl::TranslateEvent(SdlButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 500), barred, input));
  EXPECT_EQ(XY(input.point), XY({0, (500 - 32) / 2})) << "the nearest screen pixel";

  SDL_Event restored{};
  restored.type = SDL_WINDOWEVENT;
  restored.window.event = SDL_WINDOWEVENT_RESTORED;
  ASSERT_TRUE(qm::ui::sdl::TranslateEvent(restored, barred, input));
  EXPECT_EQ(input.kind, qm::ui::InputKind::HostRestored);
}

TEST(SdlScalingTest, ScaleComesFromTheEnvironmentOrTheDisplaysDpiAndFitsTheDisplay) {
  for (auto [dpi, scale] : {std::pair{0.0f, 1}, {144.0f, 1}, {168.0f, 2}, {192.0f, 2}, {264.0f, 3}}) {
    SCOPED_TRACE(dpi);
    EXPECT_EQ(qm::ui::sdl::ScaleForDpi(dpi), scale);
  }
  for (auto [text, scale] : {std::pair{"2", 2}, {"8", 8}, {"0", 0}, {"9", 0}, {"2x", 0}, {"", 0}}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(qm::ui::sdl::ParseScale(text), scale);
  }
  EXPECT_EQ(qm::ui::sdl::ParseScale(nullptr), 0);
  EXPECT_EQ(qm::ui::sdl::OpeningScale(2, kScreen, {3840, 2100}), 2);
  EXPECT_EQ(qm::ui::sdl::OpeningScale(2, kScreen, {2560, 1400}), 1) << "2048 x 1536 does not fit";
  EXPECT_EQ(qm::ui::sdl::OpeningScale(3, kScreen, {2560, 1600}), 2);
}

}  // namespace
}  // namespace qm::test
