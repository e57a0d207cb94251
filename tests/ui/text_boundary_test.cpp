// The text boundary: Shift-JIS <-> UTF-16 conversion, the command line and the string table.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <utility>

#include "catalogue/catalogue.h"
#include "ui/command_line.h"
#include "ui/resource_ids.h"
#include "ui/win_text.h"

namespace vx::ui {
namespace {

struct ConversionCase {
  const char* sjis;
  const wchar_t* wide;
};

// clang-format off
constexpr ConversionCase ConversionCases[] = {
    {"",                                 L""},
    {" SEND CHR A B ",                   L" SEND CHR A B "},
    {"\xB1\xB2\xB3\xDF",                 L"ｱｲｳﾟ"},        // half-width katakana, one byte each
    {"\x83\x76\x83\x8D\x83\x4F\x83\x89\x83\x80", L"プログラム"},  // double-byte katakana
    {"\x95\xB6\x8E\x9A\x83\x52\x81\x5B\x83\x68", L"文字コード"},
};
// clang-format on

TEST(TextBoundary, ConvertsShiftJisAndUtf16BothWays) {
  for (const auto& [sjis, wide] : ConversionCases) {
    EXPECT_EQ(sjisToWide(sjis), wide) << sjis;
    EXPECT_EQ(wideToSjis(wide), sjis) << sjis;
  }
}

TEST(TextBoundary, CharacterOutsideShiftJisBecomesQuestionMark) {
  EXPECT_EQ(wideToSjis(L"A\uD55CB"), "A?B");  // a Hangul syllable
}

struct CommandLineCase {
  const wchar_t* commandLine;
  const wchar_t* path;
};

// clang-format off
constexpr CommandLineCase CommandLineCases[] = {
    {L"vxedit.exe",                                    L""},
    {L"vxedit.exe   ",                                 L""},
    {L"\"C:\\Program Files\\vx\\vxedit.exe\"",         L""},
    {L"vxedit.exe C:\\data\\line.su",                  L"C:\\data\\line.su"},
    {L"vxedit.exe \"C:\\my data\\line.su\"",           L"C:\\my data\\line.su"},
    {L"\"C:\\a b\\vxedit.exe\" \"C:\\my data\\x.su\"", L"C:\\my data\\x.su"},
    {L"vxedit.exe C:\\my data\\line.su",               L"C:\\my data\\line.su"},  // not split
    {L"vxedit.exe \"\"a.su\"\"",                       L"\"a.su\""},              // one pair only
    {L"vxedit.exe \"a.su",                             L"\"a.su"},                // unbalanced
    {L"vxedit.exe C:\\データ\\\uD55C.su",              L"C:\\データ\\\uD55C.su"},
};
// clang-format on

TEST(CommandLine, PathIsTheTextAfterTheProgramNameWithOnePairOfQuotesRemoved) {
  for (const auto& [commandLine, path] : CommandLineCases) {
    EXPECT_EQ(commandLinePath(commandLine), path) << commandLine;
  }
}

// The help texts of the instruction and kind selectors list the catalogue's names, one
// "code:name" line each (the code in hexadecimal), so that the guidance never names an entry the
// selector does not have.
TEST(HelpTexts, ListTheCatalogueNamesInSelectorOrder) {
  const auto helpText = [](std::span<const char* const> names) {
    std::wstring text;
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (i > 0) text += L"\r\n";
      text += L"0123456789ABCDEF"[i];
      text += L':' + sjisToWide(names[i]);
    }
    return text;
  };
  EXPECT_EQ(loadString(IDS_INSTRUCTION_KEYS), helpText(InstructionHelpNames));
  for (const auto& [instruction, id] :
       {std::pair{Instruction::Send, IDS_SEND_KINDS}, std::pair{Instruction::Wait, IDS_WAIT_KINDS},
        std::pair{Instruction::If, IDS_IF_KINDS}, std::pair{Instruction::Set, IDS_SET_KINDS}}) {
    EXPECT_EQ(loadString(static_cast<unsigned>(id)),
              helpText(namesOf(kindNameList(static_cast<int>(instruction)))));
  }
}

struct StringCase {
  unsigned id;
  const wchar_t* text;
};

// clang-format off
constexpr StringCase StringCases[] = {
    {IDS_INSTRUCTION_KEYS, L"0:NOP\r\n1:SEND\r\n2:WAIT\r\n3:GOTO\r\n4:IF\r\n5:CALL\r\n6:RET\r\n"
                           L"7:SET\r\n8:INT\r\n9:RETI\r\nA:DISI\r\nB:STOP\r\nC:LBL"},
    {IDS_SEND_KINDS,       L"0:CHR\r\n1:TBL\r\n2:REG\r\n3:BUF\r\n4:KEY\r\n5:DA"},
    {IDS_WAIT_KINDS,       L"0:CHR\r\n1:FRM\r\n2:TRG\r\n3:TM\r\n4:KEY\r\n5:LN"},
    {IDS_IF_KINDS,         L"0:CHR\r\n1:TRG\r\n2:TM\r\n3:CT\r\n4:LN\r\n5:REG\r\n6:TBL\r\n7:DA"},
    {IDS_SET_KINDS,        L"0:REG\r\n1:LN\r\n2:TM\r\n3:CT\r\n4:BZ\r\n5:OUT\r\n6:DA\r\n7:DV"},
    {IDS_VALUE_RANGE,      L"%sから%sまでの値を入力"},
    {IDS_VALUE_RANGE_DONT_CARE, L"%sから%sまでの値を入力\r\n*(アスタリスク)でドントケア指定"},
    {IDS_VALUE_RANGE_FLAG, L"%sから%sまでの値を入力\r\n*(アスタリスク)でドントケア指定\r\n"
                           L"shift+Fでフラグ設定"},
    {IDS_CHOOSE_FROM,      L"%sより選択"},
    {IDS_VALUE_RANGE_OR_CHOOSE, L"%sから%sまでの値を入力\r\nもしくは%sより選択"},
    {IDS_LABEL_MISMATCH,   L"ラベル不整合箇所にカーソルを移動しました。\r\n\r\n"
                           L"L(ラベル)命令上の場合、同ラベルの複数定義です。\r\n"
                           L"その他の命令上の場合、存在しないラベル定義です。"},
    {IDS_LABELS_CONSISTENT, L"ラベル不整合はありませんでした。"},
    {IDS_LOADED,           L"プログラムをロードしました。"},
    {IDS_SAVED,            L"プログラムをセーブしました。"},
    {IDS_CHAR_EDIT_KEYS,   L"\r\n\r\nshift+INSで一文字挿入\r\nshift+DELで一文字削除"},
    {IDS_MOVE_COPY_DONE,   L"移動・コピーを実行しました。"},
    {IDS_SAVE_CHANGES,     L"変更を保存しますか?"},
    {IDS_FILE_CHANGED_ON_DISK, L"このファイルは読み込みまたは保存の後に他で変更されています。\r\n"
                           L"上書きしますか?"},
    {IDS_LINES_PUSHED_OFF, L"プログラムの末尾から%d行が押し出されました(元の行: %s)。\r\n"
                           L"Ctrl+Zで元に戻せます。"},
    {IDS_UNDONE,           L"元に戻しました。"},
    {IDS_REDONE,           L"やり直しました。"},
    {IDS_NOTHING_TO_UNDO,  L"元に戻す変更はありません。"},
    {IDS_NOTHING_TO_REDO,  L"やり直す変更はありません。"},
    {IDS_UNTITLED,         L"無題"},
    {IDS_LINE_COPIED,      L"行をクリップボードにコピーしました:\r\n%s"},
    {IDS_LINES_PASTED,     L"%d行を貼り付けました。"},
    {IDS_PASTE_FAILED,     L"貼り付けできません。プログラムは変更されていません。\r\n\r\n%s"},
    {IDS_CLIPBOARD_NO_TEXT, L"クリップボードにテキストがありません。"},
    {IDS_CLIPBOARD_BUSY,   L"クリップボードを開けませんでした。"},
    {IDS_PROGRAM_EXPORTED, L"プログラム%sをエクスポートしました。"},
    {IDS_PROGRAM_IMPORTED, L"プログラム%sをインポートしました。\r\nCtrl+Zで元に戻せます。"},
};
// clang-format on

TEST(StringTable, HoldsItsTextsExactly) {
  for (const auto& [id, text] : StringCases) EXPECT_EQ(loadString(id), text) << "string " << id;
  EXPECT_EQ(loadString(32), L"");
}

}  // namespace
}  // namespace vx::ui
