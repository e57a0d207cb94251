// The program lists of the main and the move/copy dialog: owner-drawn entries that keep the
// listing texts, each line's number in a margin, a fixed-pitch font; and character cells whose
// text is drawn in the normal text colour although they are disabled.
#include <array>
#include <string>
#include <vector>

#include "ui/listing_drawing.h"
#include "ui/move_copy_dialog.h"
#include "ui/win_text.h"
#include "ui_test_support.h"

namespace vx::ui::test {
namespace {

// A 32-bit bitmap the tests draw into and read back.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  // Brightness 0..255 of pixel (x, y): the mean of its three channels.
  int brightness(int x, int y) const {
    const auto* pixel = static_cast<const std::uint8_t*>(bits_) +
                        (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                         static_cast<std::size_t>(x)) *
                            4;
    return (pixel[0] + pixel[1] + pixel[2]) / 3;
  }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_;
  int height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
  void* bits_ = nullptr;
};

int brightnessOf(COLORREF colour) {
  return (GetRValue(colour) + GetGValue(colour) + GetBValue(colour)) / 3;
}

// Draws entry `index` of the list as the dialog draws it, into a canvas of one list row.
void drawEntry(HWND dialog, HWND list, int index, Canvas& canvas) {
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_LISTBOX;
  item.CtlID = static_cast<UINT>(GetDlgCtrlID(list));
  item.itemID = static_cast<UINT>(index);
  item.itemAction = ODA_DRAWENTIRE;
  item.hwndItem = list;
  item.hDC = canvas.dc();
  item.rcItem = RECT{0, 0, canvas.width(), canvas.height()};
  SendMessageW(dialog, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

// The columns in which two drawn rows differ.
std::vector<int> differingColumns(const Canvas& a, const Canvas& b) {
  std::vector<int> columns;
  for (int x = 0; x < a.width(); ++x) {
    for (int y = 0; y < a.height(); ++y) {
      if (a.brightness(x, y) != b.brightness(x, y)) {
        columns.push_back(x);
        break;
      }
    }
  }
  return columns;
}

// Whether any pixel in columns [from, to) is dark (text ink).
bool hasInk(const Canvas& canvas, int from, int to) {
  for (int x = from; x < to; ++x) {
    for (int y = 0; y < canvas.height(); ++y) {
      if (canvas.brightness(x, y) < 128) return true;
    }
  }
  return false;
}

SIZE extentIn(HWND window, HFONT font, const wchar_t* text) {
  HDC dc = GetDC(window);
  HGDIOBJ previous = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text, static_cast<int>(std::wcslen(text)), &size);
  SelectObject(dc, previous);
  ReleaseDC(window, dc);
  return size;
}

TEST(LineNumberText, FourDecimalDigitsAsTheCommandLineToolWritesThem) {
  EXPECT_EQ(lineNumberText(0), L"0000");
  EXPECT_EQ(lineNumberText(7), L"0007");
  EXPECT_EQ(lineNumberText(511), L"0511");
  EXPECT_EQ(lineNumberText(2047), L"2047");
}

class ListingViewTest : public MainDialogTest {};

TEST_F(ListingViewTest, ProgramListIsOwnerDrawnAndKeepsTheListingTexts) {
  storeLine(document.programArea, 0, 1, sendChr({0x4f, 0x4b}));
  open();
  HWND list = item(IDC_PROGRAM_LIST);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(list, GWL_STYLE));
  EXPECT_TRUE(style & LBS_OWNERDRAWFIXED);
  EXPECT_TRUE(style & LBS_HASSTRINGS);
  EXPECT_EQ(listEntry(1), expectedListing(sendChr({0x4f, 0x4b})));
  EXPECT_EQ(listEntry(1), L" SEND CHR 4f 4b ");

  // The list's font has fixed pitch: a space is as wide as a digit, so byte columns align.
  const HFONT font = listingFont(window);
  EXPECT_EQ(extentIn(list, font, L" ").cx, extentIn(list, font, L"0").cx);
  EXPECT_EQ(extentIn(list, font, L"4f 4b").cx, 5 * extentIn(list, font, L"0").cx);
  // Each row is at least as high as the font's line.
  EXPECT_GE(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), extentIn(list, font, L"0").cy);
}

TEST_F(ListingViewTest, RowsOfTheSameTextDifferOnlyInTheirLineNumberMargin) {
  open();  // a fresh document: lines 1 and 2 are both NOP
  HWND list = item(IDC_PROGRAM_LIST);
  ASSERT_EQ(listEntry(1), listEntry(2));
  RECT client{};
  GetClientRect(list, &client);
  const auto height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  Canvas first(client.right, height);
  Canvas second(client.right, height);
  drawEntry(window, list, 1, first);
  drawEntry(window, list, 2, second);
  const std::vector<int> columns = differingColumns(first, second);
  ASSERT_FALSE(columns.empty()) << "the line numbers are not drawn";
  // The numbers stand in a margin at the left: "0001" and "0002" differ in their last digit only,
  // and the text starts after the margin.
  const int digit = extentIn(list, listingFont(window), L"0").cx;
  EXPECT_LT(columns.back(), 6 * digit);
  EXPECT_TRUE(hasInk(first, 0, 4 * digit + digit)) << "no number in the margin";
  EXPECT_TRUE(hasInk(first, columns.back() + 1, client.right)) << "no listing text";
}

TEST_F(ListingViewTest, MoveCopyListsAreDrawnTheSameWay) {
  open();
  MoveCopySession session{document.programArea, MoveCopyView{}, std::nullopt};
  HWND moveCopy =
      CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MOVE_COPY), window,
                         moveCopyDialogProc, reinterpret_cast<LPARAM>(&session));
  ASSERT_NE(moveCopy, nullptr);
  for (const int id : {IDC_SOURCE_LIST, IDC_DESTINATION_LIST}) {
    SCOPED_TRACE(id);
    HWND list = GetDlgItem(moveCopy, id);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(list, GWL_STYLE));
    EXPECT_TRUE(style & LBS_OWNERDRAWFIXED);
    EXPECT_TRUE(style & LBS_HASSTRINGS);
    EXPECT_EQ(listText(list, 3), listEntry(3));
    EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0),
              SendMessageW(item(IDC_PROGRAM_LIST), LB_GETITEMHEIGHT, 0, 0));
    RECT client{};
    GetClientRect(list, &client);
    Canvas row(client.right, static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)));
    drawEntry(moveCopy, list, 3, row);
    EXPECT_TRUE(hasInk(row, 0, client.right));
  }
  DestroyWindow(moveCopy);
}

TEST_F(ListingViewTest, CharacterCellsDrawTheirTextAsDarkAsTheWindowText) {
  storeLine(document.programArea, 0, 0, sendChr({0x41, 0xB1}));  // "A" and half-width "ｱ"
  open();
  for (const int i : {0, 1}) {
    SCOPED_TRACE(i);
    HWND cell = item(11000 + 4 * i);
    ASSERT_NE(cell, nullptr);
    EXPECT_FALSE(IsWindowEnabled(cell));
    RECT client{};
    GetClientRect(cell, &client);
    Canvas canvas(client.right, client.bottom);
    SendMessageW(cell, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    int darkest = 255;
    for (int x = 0; x < canvas.width(); ++x) {
      for (int y = 0; y < canvas.height(); ++y)
        darkest = std::min(darkest, canvas.brightness(x, y));
    }
    EXPECT_LT(darkest, brightnessOf(GetSysColor(COLOR_GRAYTEXT)));
    EXPECT_LE(darkest, brightnessOf(GetSysColor(COLOR_WINDOWTEXT)) + 40);
  }
}

}  // namespace
}  // namespace vx::ui::test
