#pragma once
// A private X server for tests that open windows on Linux: one Xvfb per test process, on a
// display number it picks itself (-displayfd), so parallel test processes never share or race
// for one. The first call starts it and points DISPLAY at it; it is stopped when the process
// ends. Where no X server can be started at all (no Xvfb installed, or it fails), tests skip
// with the reason instead of failing:
//
//   TEST(EditorWindow, Opens) {
//     BREL_REQUIRE_X_SERVER();
//     Display* display = XOpenDisplay(nullptr);
//     ...

#include <string>

namespace brel::testing {

class PrivateXServer {
public:
  // The process's server, started on first use.
  static PrivateXServer& Shared();

  bool Running() const { return mPid > 0 && mProblem.empty(); }
  // ":N", the value DISPLAY was given; empty when not running.
  const std::string& DisplayName() const { return mDisplay; }
  // Why no server runs; empty when one does.
  const std::string& Problem() const { return mProblem; }

  PrivateXServer(const PrivateXServer&) = delete;
  PrivateXServer& operator=(const PrivateXServer&) = delete;

private:
  PrivateXServer();
  ~PrivateXServer();
  void Start();

  int mPid = -1;
  std::string mDisplay;
  std::string mProblem;
};

}  // namespace brel::testing

#define BREL_REQUIRE_X_SERVER()                                                                            \
  do {                                                                                                     \
    const auto& brelXServer = ::brel::testing::PrivateXServer::Shared();                                   \
    if (!brelXServer.Running()) GTEST_SKIP() << "no X server could be started: " << brelXServer.Problem(); \
  } while (0)
