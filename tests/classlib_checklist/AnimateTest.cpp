// The animation control: a clip opened from an AVI file or from the shell's
// stock clips, played and stopped; a clip that cannot be opened leaves the
// control empty and inactive; the form's animation starts once it is read.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "CheckTestForm.h"
#include "StdTestSupport.h"
#include "tests/support/TestUtil.h"
#include "classlib/Animate.h"

namespace {

// A small uncompressed clip: frames of 16 x 16 pixels in 24 bits, each a
// plain colour.
std::string SmallAvi(int frames)
{
    const uint32_t w = 16, h = 16, frameSize = w * h * 3;
    auto u32 = [](std::string& s, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            s += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto u16 = [](std::string& s, uint16_t v) {
        s += static_cast<char>(v & 0xFF);
        s += static_cast<char>(v >> 8);
    };
    auto chunk = [&](const char* id, const std::string& body) {
        std::string c(id, 4);
        u32(c, static_cast<uint32_t>(body.size()));
        return c + body + (body.size() % 2 ? std::string(1, '\0') : std::string());
    };
    auto list = [&](const char* type, const std::string& body) { return chunk("LIST", std::string(type, 4) + body); };

    std::string avih;
    for (uint32_t v : {100000u, frameSize * 10, 0u, 0x10u /* has index */, static_cast<uint32_t>(frames), 0u, 1u,
                       frameSize, w, h, 0u, 0u, 0u, 0u})
        u32(avih, v);
    std::string strh = "vids";
    strh += std::string("DIB ", 4);
    for (uint32_t v : {0u, 0u, 0u, 1u, 10u, 0u, static_cast<uint32_t>(frames), frameSize, 0xFFFFFFFFu, 0u})
        u32(strh, v);
    u16(strh, 0), u16(strh, 0), u16(strh, static_cast<uint16_t>(w)), u16(strh, static_cast<uint16_t>(h));
    std::string strf;
    u32(strf, 40), u32(strf, w), u32(strf, h), u16(strf, 1), u16(strf, 24);
    for (uint32_t v : {0u /* BI_RGB */, frameSize, 0u, 0u, 0u, 0u})
        u32(strf, v);
    const std::string hdrl = list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf)));

    std::string movi, idx1;
    uint32_t offset = 4;
    for (int f = 0; f < frames; ++f) {
        std::string pixels;
        for (uint32_t i = 0; i < w * h; ++i)
            pixels += f % 2 ? std::string("\x00\x00\xFF", 3) : std::string("\xFF\x00\x00", 3);
        movi += chunk("00db", pixels);
        idx1 += "00db";
        u32(idx1, 0x10 /* key frame */), u32(idx1, offset), u32(idx1, frameSize);
        offset += 8 + frameSize;
    }
    const std::string body = std::string("AVI ", 4) + hdrl + list("movi", movi) + chunk("idx1", idx1);
    return chunk("RIFF", body);
}

class Animate : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        form = new TForm(Application);
        form->SetBounds(40, 40, 200, 150);
        ani = new TAnimate(form);
        ani->SetBounds(10, 10, 80, 60);
        ani->SetParent(form);
        ani->HandleNeeded();
    }
    void TearDown() override { form->Free(); }
    TForm* form = nullptr;
    TAnimate* ani = nullptr;
};

TEST_F(Animate, AClipFromAFilePlaysAndStops)
{
    TempFolder folder;
    const std::string path = folder.Path() + "klatki.avi";
    {
        std::ofstream out(path, std::ios::binary);
        out << SmallAvi(4);
    }
    ani->SetActive(true);  // nothing to play yet
    EXPECT_FALSE(ani->Active());
    ani->SetFileName(path);
    ASSERT_TRUE(ani->Open());
    EXPECT_FALSE(ani->Active());
    ani->SetActive(true);
    EXPECT_TRUE(ani->Active());
    PumpMessages(50);
    ani->SetActive(false);
    EXPECT_FALSE(ani->Active());

    // Played a given number of times, it ends by itself.
    ani->Play(0, -1, 1);
    EXPECT_TRUE(ani->Active());
    EXPECT_TRUE(PumpUntil([&] { return !ani->Active(); }));

    // Active kept across a new window.
    ani->SetActive(true);
    ani->RecreateWnd();
    ani->HandleNeeded();
    EXPECT_TRUE(ani->Open());
    EXPECT_TRUE(ani->Active());
    ani->SetCommonAVI(aviNone);  // no change: the file's clip stays
    EXPECT_TRUE(ani->Open());
}

TEST_F(Animate, AClipThatCannotBeOpenedLeavesTheControlEmptyAndInactive)
{
    TempFolder folder;
    const std::string notAvi = folder.Path() + "zle.avi";
    {
        std::ofstream out(notAvi, std::ios::binary);
        out << "To nie jest film.";
    }
    for (const std::string& name : {folder.Path() + "brak.avi", notAvi}) {
        SCOPED_TRACE(name);
        ani->SetFileName(name);
        ani->SetActive(true);
        EXPECT_FALSE(ani->Open());
        EXPECT_FALSE(ani->Active());
    }
}

// The shell's stock clips: what this system's shell32.dll holds opens and
// plays; a clip it lacks leaves the control empty. Either way a stock clip
// replaces the file name.
TEST_F(Animate, StockClipsComeFromTheShell)
{
    ani->SetFileName("C:\\nie\\ma\\takiego.avi");
    std::string opened;
    for (TCommonAVI avi : {aviFindFolder, aviFindFile, aviFindComputer, aviCopyFiles, aviCopyFile, aviRecycleFile,
                           aviEmptyRecycle, aviDeleteFile}) {
        SCOPED_TRACE(avi);
        ani->SetCommonAVI(avi);
        EXPECT_EQ(ani->FileName(), "");
        ani->SetActive(true);
        EXPECT_EQ(ani->Active(), ani->Open());
        ani->SetActive(false);
        opened += ani->Open() ? '1' : '0';
    }
    RecordProperty("stock_clips_opened", opened);
    std::printf("stock clips opened (folder, file, computer, copy files, copy file, recycle, empty, delete): %s\n",
                opened.c_str());
    ani->SetCommonAVI(aviNone);
    EXPECT_FALSE(ani->Open());
}

TEST(AnimateForm, TheFormsAnimationStartsOnceTheFormIsRead)
{
    EnsureApplication();
    TCheckTestForm* form = nullptr;
    Application->CreateForm(form);
    ASSERT_NE(form->aniSzukaj, nullptr);
    TAnimate* ani = form->aniSzukaj;
    EXPECT_EQ(ani->CommonAVI(), aviFindFile);
    ani->HandleNeeded();
    // Active as asked when the system has the clip; inactive when it has not.
    EXPECT_EQ(ani->Active(), ani->Open());
    form->Free();
}

} // namespace
