#pragma once
// Pictures compared with PNG files committed under tests/golden/: what the screen showed when
// someone last looked at it and found it right. With FRUVANA_UPDATE_GOLDEN=1 in the environment
// the comparison rewrites the committed file from the picture instead, and passes.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/picture.h"

namespace fruvana::golden {

// The committed picture tests/golden/NAME.png of the source tree.
std::string goldenPath(const std::string& name);

// A PNG file as a 24-bit picture; nullopt with a one-line reason in error (a missing or broken
// file, or one with see-through pixels, which no screen of the game has).
std::optional<Picture> readPng(const std::string& path, std::string& error);
// Writes the picture as a PNG file; false with a one-line reason in error.
bool writePng(const Picture& picture, const std::string& path, std::string& error);

// Whether picture equals tests/golden/NAME.png pixel for pixel. A mismatch says how many pixels
// differ and which is first, and leaves NAME.actual.png and NAME.diff.png (the differing pixels
// red on a darkened copy) in the current folder, the test's own, never in the source tree.
::testing::AssertionResult matchesGolden(const Picture& picture, const std::string& name);

}  // namespace fruvana::golden
