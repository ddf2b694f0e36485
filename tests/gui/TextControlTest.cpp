#include "gui/IEditableTextControl.h"
#include "gui/IURLOpen.h"
#include "tests/gui/ControlFixture.h"

#include <string>

namespace {

struct Text : ControlFixture {
    const IBox box{10, 10, 200, 30};

    std::vector<uint32_t> Shown() {
        Paint();
        return PixelsIn(graphics, box);
    }
    void ClearControls() {
        while (graphics.ControlCount() > 0) graphics.RemoveControl(graphics.ControlAtIndex(0));
    }
};

// Records the addresses it is asked to open.
class UrlWindow : public FakeWindow {
public:
    bool OpenUrl(const char* url, const char* title, const char* confirm,
                 const char* error) override {
        opened.push_back(std::string(url)
                             .append("|")
                             .append(title ? title : "-")
                             .append("|")
                             .append(confirm ? confirm : "-")
                             .append("|")
                             .append(error));
        return false;
    }
    std::vector<std::string> opened;
};

} // namespace

TEST_F(Text, ANewTextIsPaintedOnceAndTheSameTextNotAgain) {
    ITextControl& text = Add<ITextControl>(box, LabelStyle(14), "");
    const std::vector<uint32_t> empty = Shown();
    EXPECT_FALSE(text.IsDirty());
    text.SetText("Binaural: 7.83Hz");
    EXPECT_TRUE(text.IsDirty());
    IBox dirty;
    ASSERT_TRUE(graphics.CollectDirty(&dirty));
    EXPECT_EQ(dirty, box);
    EXPECT_NE(Shown(), empty);
    EXPECT_FALSE(text.IsDirty());
    text.SetText("Binaural: 7.83Hz");
    EXPECT_FALSE(text.IsDirty());
    EXPECT_STREQ(text.Text(), "Binaural: 7.83Hz");
    text.SetText(nullptr);
    EXPECT_EQ(Shown(), empty);

    text.SetHidden(true);
    Paint();
    text.SetText("while hidden");
    graphics.DrawDirty(box);
    EXPECT_FALSE(text.IsDirty()) << "a hidden text is not waited for";
}

TEST_F(Text, LongTextsAreCutToTheBuffer) {
    ITextControl& text = Add<ITextControl>(box, LabelStyle(14), "");
    const std::string longText(5000, 'x');
    text.SetText(longText.c_str());
    EXPECT_EQ(std::string(text.Text()), longText.substr(0, ISharedText::kCapacity - 1));
    text.SetText("short");
    EXPECT_STREQ(text.Text(), "short");
}

TEST_F(Text, EditableFieldOpensTheTextBoxAndTakesTheCommittedText) {
    IEditableTextControl& field = Add<IEditableTextControl>(box, LabelStyle(14), "old");
    Click(20, 20);
    EXPECT_EQ(window.prompted, &field);
    graphics.ApplyTextEntry(&field, nullptr, "new");
    EXPECT_STREQ(field.Text(), "new");
    window.prompted = nullptr;
    field.SetNoPrompt(true);
    Click(20, 20);
    EXPECT_EQ(window.prompted, nullptr);

    IEditableTextControl& readOnly = Add<IEditableTextControl>(
        IBox{10, 40, 200, 60}, LabelStyle(14), "fixed", IEditableTextOptions{.editable = false});
    graphics.ApplyTextEntry(&readOnly, nullptr, "changed");
    EXPECT_STREQ(readOnly.Text(), "fixed");
}

TEST_F(Text, PasswordFieldShowsStarsOnAFilledBackground) {
    const IArgb ground{255, 20, 30, 40};
    Add<IEditableTextControl>(box, LabelStyle(14), "abc",
                              IEditableTextOptions{.background = ground, .password = true});
    const std::vector<uint32_t> masked = Shown();
    EXPECT_EQ(Pixel(199, 29), ground.Packed());
    ClearControls();
    Add<IEditableTextControl>(box, LabelStyle(14), "***",
                              IEditableTextOptions{.background = ground});
    EXPECT_EQ(Shown(), masked);
}

TEST_F(Text, HotSpotOpensTheEffectsPageAndDrawsNothing) {
    UrlWindow browser;
    graphics.AttachWindow(browser);
    const IURLOpen& link = Add<IURLOpen>(IBox{151, 6, 343, 53}, "www.example.com");
    EXPECT_EQ(link.Address(), "https://www.example.com/GuiTest");
    Paint();
    EXPECT_EQ(Pixel(200, 20), 0u);
    Click(200, 20, {.right = true});
    EXPECT_EQ(browser.opened,
              std::vector<std::string>{"https://www.example.com/GuiTest|-|-|Cannot open url. Check "
                                       "your default browser."});
}
