#pragma once

// Slots of the player record in c_MyApp::m_Player.
namespace PlayerSlot {

constexpr int kX = 1;
constexpr int kY = 2;
constexpr int kFallSpeed = 4;
constexpr int kFacing = 5;
constexpr int kJumpGrace = 7;
constexpr int kWallSlide = 8;
constexpr int kWallKick = 9;
constexpr int kJumpLatch = 10;
constexpr int kKnockedPose = 17;
constexpr int kSideKick = 19;
constexpr int kCrumbleRate = 20;
constexpr int kSpeed = 21;
constexpr int kLayouts = 25;
constexpr int kPixelX = 28;
constexpr int kPixelY = 29;
constexpr int kBottomLanding = 35;
constexpr int kCellMoved = 36;
constexpr int kCombo = 37;
constexpr int kRunnerTimer = 45;
constexpr int kRunnerInterval = 46;
constexpr int kCellsLeft = 50;
constexpr int kBanner = 97;
constexpr int kLevel = 98;
constexpr int kLives = 99;

}  // namespace PlayerSlot
