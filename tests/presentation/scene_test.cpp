#include "presentation/scene.h"

#include <gtest/gtest.h>

namespace fruvana {
namespace {

constexpr Rgb kRed{200, 0, 0};
constexpr Rgb kBlue{0, 0, 200};
constexpr Rgb kKey{0, 0, 255};

Picture filled(int w, int h, Rgb c) {
    Picture p(w, h);
    p.fill(c);
    return p;
}

PictureLayer& addPicture(Scene& scene, const char* name, Rect area, Picture p,
                         bool seeThrough = false) {
    auto layer = std::make_unique<PictureLayer>(name, area, seeThrough);
    layer->setPicture(std::move(p));
    return static_cast<PictureLayer&>(scene.add(std::move(layer)));
}

TEST(Scene, PaintsLaterLayersOverEarlierOnesAndOnlyTheDirtyParts) {
    Scene scene;
    Picture target(40, 30);
    addPicture(scene, "ground", {0, 0, 40, 30}, filled(40, 30, kBlue));
    PictureLayer& box = addPicture(scene, "box", {10, 10, 5, 5}, filled(5, 5, kRed));
    scene.paint(target);
    EXPECT_EQ(target.pixel(12, 12), kRed);
    EXPECT_EQ(target.pixel(9, 12), kBlue);
    EXPECT_FALSE(scene.dirty());

    // a move repaints where it was and where it goes, and nothing else
    target.setPixel(0, 0, {1, 2, 3});
    box.moveTo(20, 20);
    const std::vector<Rect> painted = scene.paint(target);
    EXPECT_EQ(painted, (std::vector<Rect>{{10, 10, 5, 5}, {20, 20, 5, 5}}));
    EXPECT_EQ(target.pixel(12, 12), kBlue);
    EXPECT_EQ(target.pixel(22, 22), kRed);
    EXPECT_EQ(target.pixel(0, 0), (Rgb{1, 2, 3}));
}

TEST(Scene, HiddenAndEmptyLayersShowWhatLiesBeneath) {
    Scene scene;
    Picture target(10, 10);
    addPicture(scene, "ground", {0, 0, 10, 10}, filled(10, 10, kBlue));
    PictureLayer& meter = addPicture(scene, "meter", {2, 2, 4, 4}, Picture());
    scene.paint(target);
    EXPECT_EQ(target.pixel(3, 3), kBlue);
    // a picture wider than its area is cut off at the area's edge
    meter.setPicture(filled(8, 4, kRed));
    scene.paint(target);
    EXPECT_EQ(target.pixel(5, 3), kRed);
    EXPECT_EQ(target.pixel(6, 3), kBlue);
    meter.setVisible(false);
    scene.paint(target);
    EXPECT_EQ(target.pixel(3, 3), kBlue);
    meter.setVisible(true);
    meter.clear();
    scene.paint(target);
    EXPECT_EQ(target.pixel(3, 3), kBlue);
}

TEST(Scene, SeeThroughLayersLeaveTheirBottomLeftColourOut) {
    Scene scene;
    Picture target(10, 10);
    addPicture(scene, "ground", {0, 0, 10, 10}, filled(10, 10, kBlue));
    Picture lamp = filled(6, 3, kKey);
    lamp.setPixel(2, 1, kRed);
    addPicture(scene, "lamp", {1, 1, 6, 3}, lamp, true);
    // the same picture drawn opaque
    addPicture(scene, "plain", {1, 5, 6, 3}, lamp, false);
    scene.paint(target);
    EXPECT_EQ(target.pixel(3, 2), kRed);
    EXPECT_EQ(target.pixel(1, 3), kBlue);
    EXPECT_EQ(target.pixel(1, 7), kKey);
}

TEST(Scene, InsertBeforeKeepsThePaintingOrder) {
    Scene scene;
    addPicture(scene, "a", {0, 0, 1, 1}, Picture());
    addPicture(scene, "c", {0, 0, 1, 1}, Picture());
    scene.insertBefore("c", std::make_unique<PictureLayer>("b", Rect{0, 0, 1, 1}));
    scene.insertBefore("nobody", std::make_unique<PictureLayer>("d", Rect{0, 0, 1, 1}));
    std::string order;
    for (const auto& l : scene.layers()) order += l->name();
    EXPECT_EQ(order, "abcd");
    EXPECT_EQ(scene.find("b")->name(), "b");
    EXPECT_EQ(scene.find("x"), nullptr);
}

TEST(Scene, ManySmallChangesMergeAndNothingOutsideTheTargetIsReported) {
    Scene scene;
    Picture target(50, 50);
    addPicture(scene, "ground", {0, 0, 50, 50}, filled(50, 50, kBlue));
    scene.paint(target);
    for (int i = 0; i < 45; ++i) scene.invalidate({i, i, 1, 1});
    scene.invalidate({45, 45, 100, 100});
    const std::vector<Rect> painted = scene.paint(target);
    ASSERT_FALSE(painted.empty());
    for (const Rect& r : painted) EXPECT_EQ(intersect(r, target.bounds()), r);
    EXPECT_LE(painted.size(), 33u);
}

}  // namespace
}  // namespace fruvana
