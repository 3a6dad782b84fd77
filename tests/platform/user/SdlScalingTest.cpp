// Where the screen sits in the host window and how host pixels map back:
// whole factors where they fit, bars around the rest, a shrunk screen in a
// small window; and the scale factor chosen at opening.
#include <SDL.h>
#include <gtest/gtest.h>

#include <optional>

#include "platform/ui/backend/SdlInput.h"
#include "platform/ui/backend/SdlScaling.h"

namespace qm::test {
namespace {

using qm::ui::sdl::PlaceScreen;
using qm::ui::sdl::ScreenPlacement;

constexpr SIZE kScreen{1024, 768};

TEST(SdlScalingTest, ScreenIsScaledByTheLargestWholeFactorThatFitsAndCentred) {
  struct Row {
    const char* name;
    SIZE host;
    RECT area;
  } rows[] = {
      {"exact", {1024, 768}, {0, 0, 1024, 768}},
      {"twice", {2048, 1536}, {0, 0, 2048, 1536}},
      {"twice with bars on all sides", {2100, 1600}, {26, 32, 2074, 1568}},
      {"wider: bars left and right", {2560, 1536}, {256, 0, 2304, 1536}},
      {"just short of twice", {2047, 1536}, {511, 384, 1535, 1152}},
      {"three times", {3072, 2400}, {0, 48, 3072, 2352}},
      {"shrunk into a narrow window", {512, 400}, {0, 8, 512, 392}},
      {"shrunk into a low window", {800, 300}, {200, 0, 600, 300}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    RECT area = PlaceScreen(kScreen, row.host).area;
    EXPECT_EQ(area.left, row.area.left);
    EXPECT_EQ(area.top, row.area.top);
    EXPECT_EQ(area.right, row.area.right);
    EXPECT_EQ(area.bottom, row.area.bottom);
  }
}

TEST(SdlScalingTest, HostPixelsMapBackExactlyAndTheBarsGiveNothing) {
  const ScreenPlacement twice = PlaceScreen(kScreen, {2048, 1536});
  const ScreenPlacement barred = PlaceScreen(kScreen, {2100, 1600});  // area (26, 32) to (2074, 1568)
  const ScreenPlacement shrunk = PlaceScreen(kScreen, {512, 400});    // area (0, 8) to (512, 392)
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
      {"shrunk", &shrunk, {256, 200}, POINT{512, 384}},
      {"shrunk, last", &shrunk, {511, 391}, POINT{1022, 766}},
      {"shrunk, bar", &shrunk, {10, 7}, std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::optional<POINT> screen = qm::ui::sdl::ScreenPointAt(*row.placement, row.host);
    ASSERT_EQ(screen.has_value(), row.screen.has_value());
    if (!screen) continue;
    EXPECT_EQ(screen->x, row.screen->x);
    EXPECT_EQ(screen->y, row.screen->y);
  }
  // Every host pixel of a doubled screen maps to the screen pixel drawn there.
  for (LONG x = 0; x < 2048; ++x) ASSERT_EQ(qm::ui::sdl::ScreenPointAt(twice, {x, 5})->x, x / 2);
  POINT nearest = qm::ui::sdl::NearestScreenPoint(barred, {2099, 0});
  EXPECT_EQ(nearest.x, 1023);
  EXPECT_EQ(nearest.y, 0);
}

TEST(SdlScalingTest, PressesOnTheBarsAreNoInputButReleasesThereEndAPress) {
  const ScreenPlacement barred = PlaceScreen(kScreen, {2100, 1600});
  SDL_Event event{};
  event.button.button = SDL_BUTTON_LEFT;
  event.button.x = 10;
  event.button.y = 500;
  qm::ui::InputEvent input;
  event.type = SDL_MOUSEBUTTONDOWN;
  EXPECT_FALSE(qm::ui::sdl::TranslateEvent(event, barred, input));
  event.type = SDL_MOUSEBUTTONUP;
  ASSERT_TRUE(qm::ui::sdl::TranslateEvent(event, barred, input));
  EXPECT_EQ(input.kind, qm::ui::InputKind::MouseUp);
  EXPECT_EQ(input.point.x, 0);
  EXPECT_EQ(input.point.y, (500 - 32) / 2);
  event.type = SDL_MOUSEBUTTONDOWN;
  event.button.x = 26 + 2 * 100 + 1;
  ASSERT_TRUE(qm::ui::sdl::TranslateEvent(event, barred, input));
  EXPECT_EQ(input.point.x, 100);

  SDL_Event restored{};
  restored.type = SDL_WINDOWEVENT;
  restored.window.event = SDL_WINDOWEVENT_RESTORED;
  ASSERT_TRUE(qm::ui::sdl::TranslateEvent(restored, barred, input));
  EXPECT_EQ(input.kind, qm::ui::InputKind::HostRestored);
  restored.window.event = SDL_WINDOWEVENT_MOVED;
  EXPECT_FALSE(qm::ui::sdl::TranslateEvent(restored, barred, input));
}

TEST(SdlScalingTest, ScaleComesFromTheEnvironmentOrTheDisplaysDpiAndFitsTheDisplay) {
  struct DpiRow {
    float dpi;
    int scale;
  } dpiRows[] = {{0, 1}, {96, 1}, {144, 1}, {168, 2}, {192, 2}, {264, 3}, {2000, 8}};
  for (const DpiRow& row : dpiRows) {
    SCOPED_TRACE(row.dpi);
    EXPECT_EQ(qm::ui::sdl::ScaleForDpi(row.dpi), row.scale);
  }
  struct TextRow {
    const char* text;
    int scale;
  } textRows[] = {{"2", 2}, {"1", 1}, {"8", 8}, {"0", 0}, {"9", 0}, {"-2", 0}, {"2x", 0}, {"", 0}, {nullptr, 0}};
  for (const TextRow& row : textRows) {
    SCOPED_TRACE(row.text ? row.text : "(unset)");
    EXPECT_EQ(qm::ui::sdl::ParseScale(row.text), row.scale);
  }
  struct FitRow {
    int wanted;
    SIZE usable;
    int scale;
  } fitRows[] = {{2, {3840, 2100}, 2}, {2, {2560, 1400}, 1}, {3, {2560, 1600}, 2}, {1, {800, 600}, 1}};
  for (const FitRow& row : fitRows) {
    SCOPED_TRACE(testing::Message() << row.wanted << " in " << row.usable.cx << "x" << row.usable.cy);
    EXPECT_EQ(qm::ui::sdl::OpeningScale(row.wanted, kScreen, row.usable), row.scale);
  }
}

}  // namespace
}  // namespace qm::test
