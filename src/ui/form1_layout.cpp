#include "ui/form1_layout.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace zeduzovir {

namespace {

constexpr FontSpec kLabelFont{u"MS Sans Serif", 9.75, kFontWeightBold};
constexpr FontSpec kBrowseFont{u"Times New Roman", 8.25, kFontWeightRegular};
constexpr FontSpec kRestoreFont{u"Times New Roman", 14.25, kFontWeightBold};

using enum ControlId;
using enum ControlKind;

// Row 1's Browse button sits 15 twips left of the others and the rows are not evenly
// spaced; both are part of the window as users know it.
constexpr std::array kControls{
    ControlSpec{Label1, "Label1", Label, u"File1:", {105, 105, 585, 240}, kLabelFont},
    ControlSpec{Text1, "Text1", TextBox, u"", {690, 75, 3195, 285}, kWindowDefaultFont},
    ControlSpec{
        TesgardButton1, "TesgardButton1", Button, u"Browse", {3960, 75, 750, 270}, kBrowseFont},
    ControlSpec{Label2, "Label2", Label, u"File2:", {105, 510, 585, 240}, kLabelFont},
    ControlSpec{Text2, "Text2", TextBox, u"", {690, 480, 3195, 285}, kWindowDefaultFont},
    ControlSpec{
        TesgardButton4, "TesgardButton4", Button, u"Browse", {3975, 487, 750, 270}, kBrowseFont},
    ControlSpec{Label3, "Label3", Label, u"File3:", {105, 915, 585, 240}, kLabelFont},
    ControlSpec{Text3, "Text3", TextBox, u"", {690, 885, 3195, 285}, kWindowDefaultFont},
    ControlSpec{
        TesgardButton5, "TesgardButton5", Button, u"Browse", {3975, 899, 750, 270}, kBrowseFont},
    ControlSpec{Label4, "Label4", Label, u"File4:", {105, 1320, 585, 240}, kLabelFont},
    ControlSpec{Text4, "Text4", TextBox, u"", {690, 1290, 3195, 285}, kWindowDefaultFont},
    ControlSpec{
        TesgardButton6, "TesgardButton6", Button, u"Browse", {3975, 1311, 750, 270}, kBrowseFont},
    ControlSpec{Label5, "Label5", Label, u"File5:", {105, 1710, 585, 240}, kLabelFont},
    ControlSpec{Text5, "Text5", TextBox, u"", {690, 1695, 3195, 285}, kWindowDefaultFont},
    ControlSpec{
        TesgardButton7, "TesgardButton7", Button, u"Browse", {3975, 1725, 750, 270}, kBrowseFont},
    ControlSpec{TesgardButton2,
                "TesgardButton2",
                Button,
                u"Restore xabrint File",
                {690, 2220, 3255, 465},
                kRestoreFont},
};

// The restore button follows row 1's box; rows 2 to 5 give their boxes the focus before their
// Browse buttons.
constexpr std::array kTabOrder{
    TesgardButton1, Text1,          TesgardButton2, Text2,          Text3,          Text4,
    Text5,          TesgardButton4, TesgardButton5, TesgardButton6, TesgardButton7,
};

}  // namespace

std::span<const ControlSpec> Form1Controls() {
  return kControls;
}

const ControlSpec& Form1Control(ControlId id) {
  const auto* found = std::find_if(kControls.begin(), kControls.end(),
                                   [id](const ControlSpec& entry) { return entry.id == id; });
  assert(found != kControls.end());
  return *found;
}

std::span<const ControlId> Form1TabOrder() {
  return kTabOrder;
}

}  // namespace zeduzovir
