// Device set-up and release against the fake runtime: what Initialize asks
// for, in which order, and what it gives back.
#include <regex>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DxTestSupport.h"
#include "report/ErrorReport.h"
#include "errors/Exceptions.h"
#include "support/TestWindow.h"

namespace runeplate::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(CreateDirect3D9Test, PassesTheVersionAndKeepsTheFactoryCountAsTheOnlyOne) {
  TFakeDirect3D fake;
  {
    const Microsoft::WRL::ComPtr<IDirect3D9> direct3D = CreateDirect3D9(31);
    ASSERT_EQ(direct3D.Get(), fake.D3Ds.at(0).get());
    EXPECT_EQ(fake.D3Ds[0]->Refs, 1u);
    EXPECT_THAT(fake.Calls, ElementsAre("Direct3DCreate9(31)"));
  }
  EXPECT_TRUE(fake.AllReleased());
}

TEST(CreateDirect3D9Test, PassesNullThrough) {
  TFakeDirect3D fake;
  fake.FactoryReturnsNull = true;
  EXPECT_EQ(CreateDirect3D9(31), nullptr);
}

using InitializeTest = DxTest;

TEST_F(InitializeTest, FullScreenCallsTheRuntimeInOrderWithTheProgramsArguments) {
  InitializeFullScreen();
  EXPECT_THAT(Fake.Calls,
              ElementsAre("Direct3DCreate9(31)",
                          Format("d3d1.CreateDevice(0,1,%p,32)", static_cast<void*>(FakeWindow())),
                          "device1.SetRenderState(15,1)", "device1.SetRenderState(24,0)",
                          "device1.SetRenderState(25,6)",
                          "device1.CreateTexture(512,256,0,0,21,1,null)",
                          "texture1.LockRect(0,null,0)", "texture1.UnlockRect(0)"));
  EXPECT_EQ(Game.FWnd, FakeWindow());
  EXPECT_EQ(Game.FD3D.Get(), Fake.D3Ds.at(0).get());
  EXPECT_EQ(Game.FDevice.Get(), Fake.Devices.at(0).get());
  EXPECT_EQ(Game.FFontTexture.Get(), Fake.Textures.at(0).get());
  // Each field holds the one count the program owns.
  EXPECT_EQ(Fake.D3Ds[0]->Refs, 1u);
  EXPECT_EQ(Fake.Devices[0]->Refs, 1u);
  EXPECT_EQ(Fake.Textures[0]->Refs, 1u);
}

TEST_F(InitializeTest, FullScreenAsksForALockableX8R8G8B8BackBufferAndNothingMore) {
  InitializeFullScreen();
  ASSERT_EQ(Fake.CreateDeviceParameters.size(), 1u);
  EXPECT_EQ(Fake.CreateDeviceParameters[0], ExpectedParameters(800, 600, FALSE));
}

TEST_F(InitializeTest, TheFourthArgumentChangesNothing) {
  std::vector<std::vector<std::string>> calls;
  std::vector<D3DPRESENT_PARAMETERS> parameters;
  for (const int32_t bitsPerPixel : {32, 16, 0, -1}) {
    TFakeDirect3D fake;
    TGameMain game;
    game.FFontFileName = FontFile.Path();
    game.Initialize(FakeWindow(), 800, 600, bitsPerPixel, true);
    calls.push_back(fake.Calls);
    parameters.push_back(fake.CreateDeviceParameters.at(0));
    game.Finalize();
  }
  for (size_t k = 1; k < calls.size(); ++k) {
    EXPECT_EQ(calls[k], calls[0]);
    EXPECT_EQ(parameters[k], parameters[0]);
  }
}

// Each check stops Initialize with an assertion before the next object is
// asked for. Its report is quoted by users, so it is pinned whole: class,
// file, the check's own fixed line number and the full stop.
struct TSetupFailure {
  const char* Name;
  void (*Arrange)(TFakeDirect3D&);
  std::vector<std::string> Calls;  // all the runtime sees
  const char* Report;              // the report text, offset masked
};

void PrintTo(const TSetupFailure& failure, std::ostream* out) { *out << failure.Name; }

class InitializeFailureTest : public DxTest,
                              public ::testing::WithParamInterface<TSetupFailure> {};

// The report text of Failure with its 8-digit offset, which moves with every
// build, replaced by XXXXXXXX.
std::string MaskedReport(const Exception& failure) {
  char text[ReportTextLimit];
  FormatExceptionReport(failure, failure.Address, text, sizeof text);
  static const std::regex offset(" at [0-9A-F]{8}\\.\n");
  return std::regex_replace(std::string(text), offset, " at XXXXXXXX.\n");
}

TEST_P(InitializeFailureTest, RaisesItsOwnAssertionReportAndAsksForNothingMore) {
  GetParam().Arrange(Fake);
  // A missing font file would raise EInOutError: every check comes before it
  // is opened.
  const std::string missing = MissingFilePath();
  Game.FFontFileName = missing.c_str();
  try {
    InitializeFullScreen();
    FAIL() << "no failure raised";
  } catch (const EAssertionFailed& failure) {
    EXPECT_EQ(MaskedReport(failure), GetParam().Report);
    EXPECT_NE(failure.Address, nullptr);
  }
  std::vector<std::string> expected = GetParam().Calls;
  for (std::string& call : expected)
    if (call == "CreateDevice") call = Format("d3d1.CreateDevice(0,1,%p,32)", static_cast<void*>(FakeWindow()));
  EXPECT_EQ(Fake.Calls, expected);
}

INSTANTIATE_TEST_SUITE_P(
    EachCheck, InitializeFailureTest,
    ::testing::Values(
        TSetupFailure{"NoDirect3D", [](TFakeDirect3D& f) { f.FactoryReturnsNull = true; },
                      {"Direct3DCreate9(31)"},
                      "Exception EAssertionFailed in module runeplate_dx_tests.exe at XXXXXXXX.\n"
                      "Assertion failure (src/dx/UDxApp.cpp, line 156)."},
        TSetupFailure{"NoDevice", [](TFakeDirect3D& f) { f.DeviceCreationFails = true; },
                      {"Direct3DCreate9(31)", "CreateDevice"},
                      "Exception EAssertionFailed in module runeplate_dx_tests.exe at XXXXXXXX.\n"
                      "Assertion failure (src/dx/UDxApp.cpp, line 173)."},
        TSetupFailure{"NoTexture", [](TFakeDirect3D& f) { f.TextureCreationFails = true; },
                      {"Direct3DCreate9(31)", "CreateDevice", "device1.SetRenderState(15,1)",
                       "device1.SetRenderState(24,0)", "device1.SetRenderState(25,6)",
                       "device1.CreateTexture(512,256,0,0,21,1,null)"},
                      "Exception EAssertionFailed in module runeplate_dx_tests.exe at XXXXXXXX.\n"
                      "Assertion failure (src/dx/UDxApp.cpp, line 182)."},
        // Nothing to unlock.
        TSetupFailure{"TextureNotLocked", [](TFakeDirect3D& f) { f.LockResult = D3DERR_INVALIDCALL; },
                      {"Direct3DCreate9(31)", "CreateDevice", "device1.SetRenderState(15,1)",
                       "device1.SetRenderState(24,0)", "device1.SetRenderState(25,6)",
                       "device1.CreateTexture(512,256,0,0,21,1,null)",
                       "texture1.LockRect(0,null,0)"},
                      "Exception EAssertionFailed in module runeplate_dx_tests.exe at XXXXXXXX.\n"
                      "Assertion failure (src/dx/UDxApp.cpp, line 190)."}),
    [](const ::testing::TestParamInfo<TSetupFailure>& info) { return info.param.Name; });

TEST_F(InitializeTest, FailedSetUpKeepsWhatWasMadeUntilFinalizeReleasesIt) {
  Fake.TextureCreationFails = true;
  EXPECT_THROW(InitializeFullScreen(), EAssertionFailed);
  EXPECT_EQ(Game.FD3D.Get(), Fake.D3Ds.at(0).get());
  EXPECT_EQ(Game.FDevice.Get(), Fake.Devices.at(0).get());
  EXPECT_EQ(Game.FFontTexture, nullptr);
  Game.Finalize();
  EXPECT_TRUE(Fake.AllReleased());
}

TEST_F(InitializeTest, ASecondInitializeReleasesDirect3DDeviceAndTextureInThatOrderFirst) {
  InitializeFullScreen();
  Fake.Calls.clear();
  InitializeFullScreen();
  ASSERT_GE(Fake.Calls.size(), 4u);
  EXPECT_THAT(std::vector<std::string>(Fake.Calls.begin(), Fake.Calls.begin() + 4),
              ElementsAre("d3d1.Release", "device1.Release", "texture1.Release",
                          "Direct3DCreate9(31)"));
  EXPECT_EQ(Fake.D3Ds[0]->Refs, 0u);
  EXPECT_EQ(Fake.Devices[0]->Refs, 0u);
  EXPECT_EQ(Fake.Textures[0]->Refs, 0u);
  EXPECT_EQ(Game.FFontTexture.Get(), Fake.Textures.at(1).get());
}

TEST_F(InitializeTest, FinalizeReleasesTextureDeviceDirect3DAndIsHarmlessTwice) {
  Game.Finalize();  // on a fresh instance
  EXPECT_THAT(Fake.Calls, IsEmpty());
  InitializeFullScreen();
  Fake.Calls.clear();
  Game.Finalize();
  Game.Finalize();
  EXPECT_THAT(Fake.Calls, ElementsAre("texture1.Release", "device1.Release", "d3d1.Release"));
  EXPECT_TRUE(Fake.AllReleased());
  EXPECT_EQ(Game.FD3D, nullptr);
  EXPECT_EQ(Game.FDevice, nullptr);
  EXPECT_EQ(Game.FFontTexture, nullptr);
  EXPECT_EQ(Game.FWnd, FakeWindow());
}

// ---------------------------------------------------------------------------
// Windowed set-up on real windows
// ---------------------------------------------------------------------------

// The windows lie away from the screen's corner, so that a moved corner shows.
constexpr TWindowPlace Place{40, 30, 300, 200};

struct TWindowCase {
  const char* Name;
  DWORD Style;
  bool WithMenu;
};

void PrintTo(const TWindowCase& window, std::ostream* out) { *out << window.Name; }

class SetClientSizeTest : public ::testing::TestWithParam<TWindowCase> {};

TEST_P(SetClientSizeTest, MakesTheClientAreaExactAndKeepsTheTopLeftCorner) {
  TTestWindow window(GetParam().Style, Place, DefWindowProcA, GetParam().WithMenu);
  ASSERT_NE(window.Handle(), nullptr);
  const POINT before = window.TopLeft();
  SetClientSize(window.Handle(), 640, 480);
  const SIZE client = window.ClientSize();
  EXPECT_EQ(client.cx, 640);
  EXPECT_EQ(client.cy, 480);
  const POINT after = window.TopLeft();
  EXPECT_EQ(after.x, before.x);
  EXPECT_EQ(after.y, before.y);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, SetClientSizeTest,
    ::testing::Values(TWindowCase{"Popup", WS_POPUP, false},
                      TWindowCase{"Overlapped", WS_OVERLAPPEDWINDOW, false},
                      TWindowCase{"OverlappedWithMenu", WS_OVERLAPPEDWINDOW, true}),
    [](const ::testing::TestParamInfo<TWindowCase>& info) { return info.param.Name; });

TEST_F(InitializeTest, WindowedSizesTheWindowBeforeTheDeviceAndMarksWindowedWithAllBits) {
  TTestWindow window(WS_OVERLAPPEDWINDOW, Place);
  ASSERT_NE(window.Handle(), nullptr);
  Game.Initialize(window.Handle(), 320, 240, 32, false);
  const SIZE client = window.ClientSize();
  EXPECT_EQ(client.cx, 320);
  EXPECT_EQ(client.cy, 240);
  ASSERT_EQ(Fake.CreateDeviceParameters.size(), 1u);
  EXPECT_EQ(Fake.CreateDeviceParameters[0], ExpectedParameters(320, 240, -1));
}

TEST_F(InitializeTest, WithoutDirect3DTheWindowIsNotResized) {
  TTestWindow window(WS_OVERLAPPEDWINDOW, Place);
  ASSERT_NE(window.Handle(), nullptr);
  const SIZE before = window.ClientSize();
  Fake.FactoryReturnsNull = true;
  EXPECT_THROW(Game.Initialize(window.Handle(), 320, 240, 32, false), EAssertionFailed);
  EXPECT_EQ(window.ClientSize().cx, before.cx);
  EXPECT_EQ(window.ClientSize().cy, before.cy);
}

TEST_F(InitializeTest, FullScreenLeavesTheWindowAsItIs) {
  TTestWindow window(WS_OVERLAPPEDWINDOW, Place);
  ASSERT_NE(window.Handle(), nullptr);
  const SIZE before = window.ClientSize();
  const POINT corner = window.TopLeft();
  Game.Initialize(window.Handle(), 800, 600, 32, true);
  const SIZE after = window.ClientSize();
  EXPECT_EQ(after.cx, before.cx);
  EXPECT_EQ(after.cy, before.cy);
  EXPECT_EQ(window.TopLeft().x, corner.x);
  EXPECT_EQ(window.TopLeft().y, corner.y);
}

}  // namespace
}  // namespace runeplate::test
