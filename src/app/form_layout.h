// The main form's fixed texts, list contents and design sizes, shared by the controller and
// the shells that build its window.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vardo {

inline constexpr std::u16string_view kFormCaption = u"Vardo－塗りハッチ";
inline constexpr std::u16string_view kButton1Caption = u"ＯＫ (&Y)";
inline constexpr std::u16string_view kButton2Caption = u"キャンセル (&N)";
inline constexpr std::u16string_view kButton3Caption = u"作図実行(&G)";
inline constexpr std::u16string_view kCheckBox1Caption = u"モノクロ化";
inline constexpr std::u16string_view kCheckBox2Caption = u"クロスハッチ";
inline constexpr std::u16string_view kCheckBox3Caption = u"端点補正";

// Design sizes in pixels: the client area before the settings file places the window, the
// button panel at the bottom, the status line under the paint box, the control column on the
// right with the hatch settings at its top and the counter line at its bottom.
inline constexpr int kDesignClientWidth = 499;
inline constexpr int kDesignClientHeight = 393;
inline constexpr int kButtonPanelHeight = 41;
inline constexpr int kStatusLineHeight = 16;
inline constexpr int kControlColumnWidth = 194;
inline constexpr int kSettingsPanelHeight = 248;
inline constexpr int kCounterLineHeight = 16;
inline constexpr int kSpacingMaxLength = 12;

// Items of the editable angle lists ComboBox4 and ComboBox5.
inline constexpr std::array<std::u16string_view, 16> kAngleItems = {
    u"0",   u"30",  u"45",  u"60",  u"90",  u"120",  u"135",  u"150",
    u"180", u"-30", u"-45", u"-60", u"-90", u"-120", u"-135", u"-150"};

// The help text of Memo1, one entry a line.
inline constexpr std::array<std::u16string_view, 17> kHelpLines = {u"・外部変形ですので",
                                                                   u"　ブロック図形は",
                                                                   u"　表示されません。",
                                                                   u"・画面は簡易表示です。",
                                                                   u"・塗りハッチをする前には",
                                                                   u"　　□モノクロ化",
                                                                   u"　にチェックを入れて下さい。",
                                                                   u"・画面が再描画状態となると",
                                                                   u"　塗りハッチ箇所が無効化",
                                                                   u"　されます。",
                                                                   u"・最後にクリックした位置が",
                                                                   u"　ハッチの通過点となります。",
                                                                   u"・誤差等によりハッチングが",
                                                                   u"　失敗する場合があります。",
                                                                   u"・作図後に[Delete]又は[Esc]",
                                                                   u"　を押すと全ての塗りハッチを",
                                                                   u"　削除します。"};

// The 266 items of the line colour list ComboBox1 and the 51 of the line type list ComboBox2;
// the item index is what the form stores and hands to the document.
std::vector<std::u16string> LineColourItems();
std::vector<std::u16string> LineTypeItems();

}  // namespace vardo
