// The fill of the font texture from real files written by the tests, into a
// fake texture whose locked level the test can read.
#include <cstring>

#include <gtest/gtest.h>

#include "DxTestSupport.h"
#include "errors/Exceptions.h"

namespace runeplate::test {
namespace {

constexpr uint8_t Untouched = 0xCD;  // what the fake texture starts as

std::vector<uint8_t> Concatenate(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The start of a 512 x 256 one-bit bitmap: file and info headers and a
// palette that maps index 1 to black, which the program must ignore.
std::vector<uint8_t> BitmapHeader() {
  std::vector<uint8_t> header(62, 0);
  header[0] = 'B';
  header[1] = 'M';
  header[10] = 62;  // offset of the pixels
  header[14] = 40;  // info header size
  header[18] = 0x00, header[19] = 0x02;  // width 512
  header[22] = 0x00, header[23] = 0x01;  // height 256, bottom-up
  header[26] = 1;   // planes
  header[28] = 1;   // bits per pixel
  header[54] = header[55] = header[56] = 0xFF;  // index 0: white
  return header;                                // index 1: black (zero)
}

// The texels that differ from what the pixel rows stand for, the first few
// of them reported.
int WrongTexels(const TFakeTexture& texture, const std::vector<uint8_t>& pixels) {
  int wrong = 0;
  for (int32_t y = 0; y < FontImageHeight; ++y)
    for (int32_t x = 0; x < FontImageWidth; ++x)
      if (texture.Texel(x, y) != ExpectedTexel(pixels, x, y) && ++wrong <= 5)
        ADD_FAILURE() << "texel (" << x << ", " << y << ") is " << std::hex << texture.Texel(x, y);
  return wrong;
}

using FontTextureTest = DxTest;

struct TFileLayout {
  const char* Name;
  std::vector<uint8_t> Before;  // bytes ahead of the pixel rows
  std::vector<uint8_t> After;   // bytes behind them
  int32_t Pitch;
};

void PrintTo(const TFileLayout& layout, std::ostream* out) { *out << layout.Name; }

class FontFileLayoutTest : public DxTest, public ::testing::WithParamInterface<TFileLayout> {};

TEST_P(FontFileLayoutTest, TheLast16384BytesFillLevel0UprightAndLeaveThePitchPaddingAlone) {
  const TFileLayout& layout = GetParam();
  const std::vector<uint8_t> contents =
      Concatenate(Concatenate(layout.Before, PatternPixels()), layout.After);
  const std::vector<uint8_t> pixels(contents.end() - FontFilePixelBytes, contents.end());
  TTempFile file(contents);
  Game.FFontFileName = file.Path();
  Fake.TexturePitch = layout.Pitch;

  InitializeFullScreen();

  const TFakeTexture& texture = *Fake.Textures.at(0);
  EXPECT_EQ(WrongTexels(texture, pixels), 0);

  int touchedPadding = 0;
  for (int32_t y = 0; y < FontImageHeight; ++y)
    for (int32_t k = FontImageWidth * 4; k < layout.Pitch; ++k)
      touchedPadding += texture.Bits[y * layout.Pitch + k] != Untouched;
  EXPECT_EQ(touchedPadding, 0);
  EXPECT_EQ(Fake.Calls.back(), "texture1.UnlockRect(0)");
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, FontFileLayoutTest,
    ::testing::Values(TFileLayout{"BarePixels", {}, {}, 2048},
                      TFileLayout{"BitmapWithBlackInkPalette", BitmapHeader(), {}, 2048},
                      // Trailing bytes shift the rows: the last 16384 bytes are
                      // taken whatever they are.
                      TFileLayout{"TrailingBytes", BitmapHeader(), std::vector<uint8_t>(10, 0xA5), 2048},
                      TFileLayout{"WidePitch", BitmapHeader(), {}, 2048 + 64},
                      TFileLayout{"OddPitch", {}, {}, 2048 + 4 * 3}),
    [](const ::testing::TestParamInfo<TFileLayout>& info) { return info.param.Name; });

TEST_F(FontTextureTest, TheMostSignificantBitIsTheLeftmostTexel) {
  struct {
    uint8_t FirstByte;
    uint8_t InkMask;  // bit 7 - k set when texel k is ink
  } const cases[] = {{0x80, 0x80}, {0x01, 0x01}, {0xFF, 0xFF}, {0x00, 0x00}, {0x5A, 0x5A}};
  for (const auto& c : cases) {
    TFakeDirect3D fake;
    std::vector<uint8_t> pixels(FontFilePixelBytes, 0);
    pixels[0] = c.FirstByte;  // first stored row: the bottom texture row
    TTempFile file(pixels);
    TGameMain game;
    game.FFontFileName = file.Path();
    game.Initialize(FakeWindow(), 800, 600, 32, true);
    const TFakeTexture& texture = *fake.Textures.at(0);
    for (int32_t x = 0; x < 8; ++x) {
      const uint32_t expected = (c.InkMask & (0x80 >> x)) ? 0xFFFFFFFFu : 0u;
      EXPECT_EQ(texture.Texel(x, FontImageHeight - 1), expected)
          << "first byte 0x" << std::hex << int(c.FirstByte) << ", texel " << std::dec << x;
    }
    EXPECT_EQ(texture.Texel(0, 0), 0u);
    game.Finalize();
  }
}

// Nothing but the font file's handle may keep it: an exclusive open succeeds.
bool NobodyHoldsTheFile(const char* path) {
  const HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

struct TFileFailure {
  const char* Name;
  bool Exists;
  size_t Size;
  int32_t Code;
  const char* Message;
};

void PrintTo(const TFileFailure& failure, std::ostream* out) { *out << failure.Name; }

class FontFileFailureTest : public DxTest, public ::testing::WithParamInterface<TFileFailure> {};

TEST_P(FontFileFailureTest, RaisesTheIOErrorAndLeavesNothingOpenOrLocked) {
  const TFileFailure& failure = GetParam();
  TTempFile file(std::vector<uint8_t>(failure.Size, 0xFF));
  const std::string missing = MissingFilePath();
  Game.FFontFileName = failure.Exists ? file.Path() : missing.c_str();
  try {
    InitializeFullScreen();
    FAIL() << "no failure raised";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.ErrorCode, failure.Code);
    EXPECT_EQ(error.Message(), failure.Message);
    EXPECT_EQ(error.ClassName(), "EInOutError");
    EXPECT_NE(error.Address, nullptr);
  }
  EXPECT_EQ(Fake.Calls.back(), "texture1.UnlockRect(0)");
  if (failure.Exists) {
    EXPECT_TRUE(NobodyHoldsTheFile(file.Path()));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, FontFileFailureTest,
    ::testing::Values(TFileFailure{"Missing", false, 0, 2, "File not found"},
                      TFileFailure{"OneByteShort", true, 16383, 131, "I/O error 131"},
                      TFileFailure{"Empty", true, 0, 131, "I/O error 131"}),
    [](const ::testing::TestParamInfo<TFileFailure>& info) { return info.param.Name; });

// Another program's handle on the font file, with the sharing it allows.
class THeldFile {
 public:
  THeldFile(const char* path, DWORD access, DWORD share) {
    handle_ = CreateFileA(path, access, share, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  ~THeldFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  THeldFile(const THeldFile&) = delete;
  THeldFile& operator=(const THeldFile&) = delete;
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

TEST_F(FontTextureTest, AFileOthersOnlyShareForReadingStillLoadsSinceNothingIsWritten) {
  struct {
    DWORD Access, Share;
  } const holders[] = {{GENERIC_READ, FILE_SHARE_READ},
                       {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE}};
  for (const auto& holder : holders) {
    TFakeDirect3D fake;
    THeldFile held(FontFile.Path(), holder.Access, holder.Share);
    ASSERT_TRUE(held.Held());
    TGameMain game;
    game.FFontFileName = FontFile.Path();
    EXPECT_NO_THROW(game.Initialize(FakeWindow(), 800, 600, 32, true))
        << "held with access 0x" << std::hex << holder.Access << ", sharing " << holder.Share;
    game.Finalize();
  }
}

TEST_F(FontTextureTest, AFileHeldWithoutSharingIsASharingViolation) {
  THeldFile held(FontFile.Path(), GENERIC_READ, 0);
  ASSERT_TRUE(held.Held());
  try {
    InitializeFullScreen();
    FAIL() << "no failure raised";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.ErrorCode, 32);
    EXPECT_EQ(error.Message(), "I/O error 32");
  }
}

// Starts a program of the host system (Wine runs ELF files natively). Wine
// gives no waitable handle for such a process, so callers watch for its effect.
bool StartHostProgram(const std::string& windowsPath, const std::string& arguments) {
  std::string commandLine = windowsPath + " " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(windowsPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool OpensForWriting(const char* path) {
  const HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// Waits up to five seconds for the file to become (or stop being) writable.
bool AwaitWritable(const char* path, bool writable) {
  for (int k = 0; k < 100; ++k) {
    if (OpensForWriting(path) == writable) return true;
    Sleep(50);
  }
  return false;
}

// The host path of a Windows path, from Wine's kernel32; empty elsewhere.
std::string HostPath(const char* path) {
  using TUnixName = char*(CDECL*)(LPCWSTR);
  const auto unixName = reinterpret_cast<TUnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
  if (!unixName) return {};
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
  char* name = unixName(wide);
  if (!name) return {};
  std::string result = name;
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

// Under Wine the read-only attribute does not stop root from opening a file
// for writing; an immutable file on the host does, as a read-only file or a
// write-protected folder would elsewhere.
class TImmutableFile {
 public:
  explicit TImmutableFile(const char* path) : path_(path), hostPath_(HostPath(path)) {
    made_ = !hostPath_.empty() && StartHostProgram(Chattr, "+i " + hostPath_) &&
            AwaitWritable(path_, false);
  }
  ~TImmutableFile() {
    if (made_) {
      StartHostProgram(Chattr, "-i " + hostPath_);
      AwaitWritable(path_, true);
    }
  }
  TImmutableFile(const TImmutableFile&) = delete;
  TImmutableFile& operator=(const TImmutableFile&) = delete;
  bool Made() const { return made_; }

 private:
  static constexpr const char* Chattr = "Z:\\usr\\bin\\chattr";
  const char* path_;
  std::string hostPath_;
  bool made_ = false;
};

TEST_F(FontTextureTest, AFileThatCannotBeWrittenLoads) {
  ASSERT_TRUE(SetFileAttributesA(FontFile.Path(), FILE_ATTRIBUTE_READONLY));
  bool reallyReadOnly = false;
  {
    TImmutableFile immutable(FontFile.Path());
    reallyReadOnly = immutable.Made();
    EXPECT_NO_THROW(InitializeFullScreen());
  }
  SetFileAttributesA(FontFile.Path(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(Fake.Textures.at(0)->Texel(0, 0), ExpectedTexel(PatternPixels(), 0, 0));
  if (!reallyReadOnly) GTEST_SKIP() << "chattr not available: only the read-only attribute was tried";
}

// A file of 4 GiB and more: the pixel rows lie beyond what 32 bits of
// position can reach.
TEST_F(FontTextureTest, AFileOfFourGibibytesOrMoreIsReadAtItsTrueEnd) {
  const std::vector<uint8_t> pixels = PatternPixels();
  TTempFile file(pixels, (int64_t{1} << 32) + 1000);
  Game.FFontFileName = file.Path();

  InitializeFullScreen();

  EXPECT_EQ(WrongTexels(*Fake.Textures.at(0), pixels), 0);
}

}  // namespace
}  // namespace runeplate::test
