// The parts and states of the visual-style classes, by their published
// numbers, and the property identifiers callers read. Kept apart from the
// calls so that painters can name parts without pulling in the service.
#pragma once

namespace win {

// BUTTON
constexpr int BP_PUSHBUTTON = 1;
constexpr int BP_RADIOBUTTON = 2;
constexpr int BP_CHECKBOX = 3;
constexpr int BP_GROUPBOX = 4;
constexpr int PBS_NORMAL = 1, PBS_HOT = 2, PBS_PRESSED = 3, PBS_DISABLED = 4, PBS_DEFAULTED = 5;
constexpr int RBS_UNCHECKEDNORMAL = 1, RBS_UNCHECKEDHOT = 2, RBS_UNCHECKEDPRESSED = 3, RBS_UNCHECKEDDISABLED = 4,
              RBS_CHECKEDNORMAL = 5, RBS_CHECKEDHOT = 6, RBS_CHECKEDPRESSED = 7, RBS_CHECKEDDISABLED = 8;
constexpr int CBS_UNCHECKEDNORMAL = 1, CBS_UNCHECKEDHOT = 2, CBS_UNCHECKEDPRESSED = 3, CBS_UNCHECKEDDISABLED = 4,
              CBS_CHECKEDNORMAL = 5, CBS_CHECKEDHOT = 6, CBS_CHECKEDPRESSED = 7, CBS_CHECKEDDISABLED = 8,
              CBS_MIXEDNORMAL = 9, CBS_MIXEDHOT = 10, CBS_MIXEDPRESSED = 11, CBS_MIXEDDISABLED = 12;
constexpr int GBS_NORMAL = 1, GBS_DISABLED = 2;

// COMBOBOX
constexpr int CP_DROPDOWNBUTTON = 1;
constexpr int CBXS_NORMAL = 1, CBXS_HOT = 2, CBXS_PRESSED = 3, CBXS_DISABLED = 4;

// EDIT
constexpr int EP_EDITTEXT = 1;
constexpr int EP_BACKGROUND = 3;
constexpr int EP_BACKGROUNDWITHBORDER = 5;
constexpr int EP_EDITBORDER_NOSCROLL = 6;
constexpr int ETS_NORMAL = 1, ETS_HOT = 2, ETS_SELECTED = 3, ETS_DISABLED = 4, ETS_FOCUSED = 5, ETS_READONLY = 6,
              ETS_ASSIST = 7;
constexpr int EBS_NORMAL = 1, EBS_HOT = 2, EBS_DISABLED = 3, EBS_FOCUSED = 4, EBS_READONLY = 5, EBS_ASSIST = 6;
constexpr int EPSN_NORMAL = 1, EPSN_HOT = 2, EPSN_FOCUSED = 3, EPSN_DISABLED = 4;

// EXPLORERBAR
constexpr int EBP_HEADERBACKGROUND = 1;
constexpr int EBP_HEADERCLOSE = 2;
constexpr int EBP_HEADERPIN = 3;
constexpr int EBP_IEBARMENU = 4;
constexpr int EBP_NORMALGROUPBACKGROUND = 5;
constexpr int EBP_NORMALGROUPCOLLAPSE = 6;
constexpr int EBP_NORMALGROUPEXPAND = 7;
constexpr int EBP_NORMALGROUPHEAD = 8;
constexpr int EBP_SPECIALGROUPBACKGROUND = 9;
constexpr int EBP_SPECIALGROUPCOLLAPSE = 10;
constexpr int EBP_SPECIALGROUPEXPAND = 11;
constexpr int EBP_SPECIALGROUPHEAD = 12;
constexpr int EBHC_NORMAL = 1, EBHC_HOT = 2, EBHC_PRESSED = 3;
constexpr int EBHP_NORMAL = 1, EBHP_HOT = 2, EBHP_PRESSED = 3, EBHP_SELECTEDNORMAL = 4, EBHP_SELECTEDHOT = 5,
              EBHP_SELECTEDPRESSED = 6;

// HEADER
constexpr int HP_HEADERITEM = 1;
constexpr int HP_HEADERITEMLEFT = 2;
constexpr int HP_HEADERITEMRIGHT = 3;
constexpr int HP_HEADERSORTARROW = 4;
constexpr int HIS_NORMAL = 1, HIS_HOT = 2, HIS_PRESSED = 3;
constexpr int HSAS_SORTEDUP = 1, HSAS_SORTEDDOWN = 2;

// LISTVIEW
constexpr int LVP_LISTITEM = 1;
constexpr int LVP_LISTGROUP = 2;
constexpr int LVP_LISTDETAIL = 3;
constexpr int LVP_LISTSORTEDDETAIL = 4;
// The body with its one-pixel border: what a list control draws its frame with.
constexpr int LVP_BODY = 5;
constexpr int LISS_NORMAL = 1, LISS_HOT = 2, LISS_SELECTED = 3, LISS_DISABLED = 4, LISS_SELECTEDNOTFOCUS = 5,
              LISS_HOTSELECTED = 6;

// PROGRESS
constexpr int PP_BAR = 1;
constexpr int PP_BARVERT = 2;
constexpr int PP_CHUNK = 3;
constexpr int PP_CHUNKVERT = 4;

// SCROLLBAR
constexpr int SBP_ARROWBTN = 1;
constexpr int SBP_THUMBBTNHORZ = 2;
constexpr int SBP_THUMBBTNVERT = 3;
constexpr int SBP_LOWERTRACKHORZ = 4;
constexpr int SBP_UPPERTRACKHORZ = 5;
constexpr int SBP_LOWERTRACKVERT = 6;
constexpr int SBP_UPPERTRACKVERT = 7;
constexpr int SBP_GRIPPERHORZ = 8;
constexpr int SBP_GRIPPERVERT = 9;
constexpr int SBP_SIZEBOX = 10;
constexpr int ABS_UPNORMAL = 1, ABS_UPHOT = 2, ABS_UPPRESSED = 3, ABS_UPDISABLED = 4, ABS_DOWNNORMAL = 5,
              ABS_DOWNHOT = 6, ABS_DOWNPRESSED = 7, ABS_DOWNDISABLED = 8, ABS_LEFTNORMAL = 9, ABS_LEFTHOT = 10,
              ABS_LEFTPRESSED = 11, ABS_LEFTDISABLED = 12, ABS_RIGHTNORMAL = 13, ABS_RIGHTHOT = 14,
              ABS_RIGHTPRESSED = 15, ABS_RIGHTDISABLED = 16;
constexpr int SCRBS_NORMAL = 1, SCRBS_HOT = 2, SCRBS_PRESSED = 3, SCRBS_DISABLED = 4;
constexpr int SZB_RIGHTALIGN = 1, SZB_LEFTALIGN = 2;

// SPIN
constexpr int SPNP_UP = 1;
constexpr int SPNP_DOWN = 2;
constexpr int SPNP_UPHORZ = 3;
constexpr int SPNP_DOWNHORZ = 4;
constexpr int UPS_NORMAL = 1, UPS_HOT = 2, UPS_PRESSED = 3, UPS_DISABLED = 4;

// TAB
constexpr int TABP_TABITEM = 1;
constexpr int TABP_TABITEMLEFTEDGE = 2;
constexpr int TABP_TABITEMRIGHTEDGE = 3;
constexpr int TABP_TABITEMBOTHEDGE = 4;
constexpr int TABP_TOPTABITEM = 5;
constexpr int TABP_TOPTABITEMLEFTEDGE = 6;
constexpr int TABP_TOPTABITEMRIGHTEDGE = 7;
constexpr int TABP_TOPTABITEMBOTHEDGE = 8;
constexpr int TABP_PANE = 9;
constexpr int TABP_BODY = 10;
constexpr int TIS_NORMAL = 1, TIS_HOT = 2, TIS_SELECTED = 3, TIS_DISABLED = 4, TIS_FOCUSED = 5;

// TOOLBAR
constexpr int TP_BUTTON = 1;
constexpr int TP_DROPDOWNBUTTON = 2;
constexpr int TP_SPLITBUTTON = 3;
constexpr int TP_SPLITBUTTONDROPDOWN = 4;
constexpr int TP_SEPARATOR = 5;
constexpr int TP_SEPARATORVERT = 6;
constexpr int TS_NORMAL = 1, TS_HOT = 2, TS_PRESSED = 3, TS_DISABLED = 4, TS_CHECKED = 5, TS_HOTCHECKED = 6;

// TRACKBAR
constexpr int TKP_TRACK = 1;
constexpr int TKP_TRACKVERT = 2;
constexpr int TKP_THUMB = 3;
constexpr int TKP_THUMBBOTTOM = 4;
constexpr int TKP_THUMBTOP = 5;
constexpr int TKP_THUMBVERT = 6;
constexpr int TKP_THUMBLEFT = 7;
constexpr int TKP_THUMBRIGHT = 8;
constexpr int TKP_TICS = 9;
constexpr int TKP_TICSVERT = 10;
constexpr int TUS_NORMAL = 1, TUS_HOT = 2, TUS_PRESSED = 3, TUS_FOCUSED = 4, TUS_DISABLED = 5;

// TREEVIEW
constexpr int TVP_GLYPH = 2;
constexpr int GLPS_CLOSED = 1, GLPS_OPENED = 2;

// WINDOW
constexpr int WP_CLOSEBUTTON = 18;
constexpr int WP_SMALLCLOSEBUTTON = 19;
constexpr int CBS_NORMAL = 1, CBS_HOT = 2, CBS_PUSHED = 3, CBS_DISABLED = 4;

// Property identifiers.
constexpr int TMT_BORDERSIZE = 2403;
constexpr int TMT_SIZINGMARGINS = 3601;
constexpr int TMT_CONTENTMARGINS = 3602;
constexpr int TMT_BORDERCOLOR = 3801;
constexpr int TMT_FILLCOLOR = 3802;
constexpr int TMT_TEXTCOLOR = 3803;
constexpr int TMT_EDGELIGHTCOLOR = 3804;
constexpr int TMT_EDGEHIGHLIGHTCOLOR = 3805;
constexpr int TMT_EDGESHADOWCOLOR = 3806;
constexpr int TMT_EDGEDKSHADOWCOLOR = 3807;
constexpr int TMT_EDGEFILLCOLOR = 3808;
constexpr int TMT_ACCENTCOLORHINT = 3823;

// DrawThemeText's second flag word.
constexpr unsigned DTT_GRAYED = 0x1;

}  // namespace win
