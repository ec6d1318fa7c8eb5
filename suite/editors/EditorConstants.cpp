#include "suite/editors/EditorConstants.h"

const std::array<const char*, 52> ClassLibraryColorNames = {
    "clBlack", "clMaroon", "clGreen", "clOlive", "clNavy", "clPurple", "clTeal", "clGray", "clSilver", "clRed",
    "clLime", "clYellow", "clBlue", "clFuchsia", "clAqua", "clWhite", "clMoneyGreen", "clSkyBlue", "clCream",
    "clMedGray", "clActiveBorder", "clActiveCaption", "clAppWorkSpace", "clBackground", "clBtnFace",
    "clBtnHighlight", "clBtnShadow", "clBtnText", "clCaptionText", "clDefault", "clGradientActiveCaption",
    "clGradientInactiveCaption", "clGrayText", "clHighlight", "clHighlightText", "clHotLight", "clInactiveBorder",
    "clInactiveCaption", "clInactiveCaptionText", "clInfoBk", "clInfoText", "clMenu", "clMenuBar", "clMenuHighlight",
    "clMenuText", "clNone", "clScrollBar", "cl3DDkShadow", "cl3DLight", "clWindow", "clWindowFrame", "clWindowText",
};

const std::array<const char*, 16> BasicWebColorNames = {
    "Black", "Silver", "Gray", "White", "Maroon", "Red", "Purple", "Fuchsia", "Green", "Lime", "Olive", "Yellow",
    "Navy", "Blue", "Teal", "Aqua",
};

const std::array<const char*, 140> ExtendedWebColorNamesByName = {
    "AliceBlue", "AntiqueWhite", "Aqua", "Aquamarine", "Azure", "Beige", "Bisque", "Black", "BlanchedAlmond", "Blue",
    "BlueViolet", "Brown", "BurlyWood", "CadetBlue", "Chartreuse", "Chocolate", "Coral", "CornflowerBlue",
    "Cornsilk", "Crimson", "Cyan", "DarkBlue", "DarkCyan", "DarkGoldenrod", "DarkGray", "DarkGreen", "DarkKhaki",
    "DarkMagenta", "DarkOliveGreen", "DarkOrange", "DarkOrchid", "DarkRed", "DarkSalmon", "DarkSeaGreen",
    "DarkSlateBlue", "DarkSlateGray", "DarkTurquoise", "DarkViolet", "DeepPink", "DeepSkyBlue", "DimGray",
    "DodgerBlue", "FireBrick", "FloralWhite", "ForestGreen", "Fuchsia", "Gainsboro", "GhostWhite", "Gold",
    "Goldenrod", "Gray", "Green", "GreenYellow", "Honeydew", "HotPink", "IndianRed", "Indigo", "Ivory", "Khaki",
    "Lavender", "LavenderBlush", "LawnGreen", "LemonChiffon", "LightBlue", "LightCoral", "LightCyan",
    "LightGoldenrodYellow", "LightGreen", "LightGrey", "LightPink", "LightSalmon", "LightSeaGreen", "LightSkyBlue",
    "LightSlateGray", "LightSteelBlue", "LightYellow", "Lime", "LimeGreen", "Linen", "Magenta", "Maroon",
    "MediumAquamarine", "MediumBlue", "MediumOrchid", "MediumPurple", "MediumSeaGreen", "MediumSlateBlue",
    "MediumSpringGreen", "MediumTurquoise", "MediumVioletRed", "MidnightBlue", "MintCream", "MistyRose", "Moccasin",
    "NavajoWhite", "Navy", "OldLace", "Olive", "OliveDrab", "Orange", "OrangeRed", "Orchid", "PaleGoldenrod",
    "PaleGreen", "PaleTurquoise", "PaleVioletRed", "PapayaWhip", "PeachPuff", "Peru", "Pink", "Plum", "PowderBlue",
    "Purple", "Red", "RosyBrown", "RoyalBlue", "SaddleBrown", "Salmon", "SandyBrown", "SeaGreen", "Seashell",
    "Sienna", "Silver", "SkyBlue", "SlateBlue", "SlateGray", "Snow", "SpringGreen", "SteelBlue", "Tan", "Teal",
    "Thistle", "Tomato", "Turquoise", "Violet", "Wheat", "White", "WhiteSmoke", "Yellow", "YellowGreen",
};

const std::array<const char*, 140> ExtendedWebColorNamesByHue = {
    "LightPink", "Pink", "Crimson", "LavenderBlush", "PaleVioletRed", "HotPink", "DeepPink", "MediumVioletRed",
    "Orchid", "Thistle", "Plum", "Violet", "Magenta", "Fuchsia", "DarkMagenta", "Purple", "MediumOrchid",
    "DarkViolet", "DarkOrchid", "Indigo", "BlueViolet", "MediumPurple", "MediumSlateBlue", "SlateBlue",
    "DarkSlateBlue", "Lavender", "GhostWhite", "Blue", "MediumBlue", "MidnightBlue", "DarkBlue", "Navy", "RoyalBlue",
    "CornflowerBlue", "LightSteelBlue", "LightSlateGray", "SlateGray", "DodgerBlue", "AliceBlue", "SteelBlue",
    "LightSkyBlue", "SkyBlue", "DeepSkyBlue", "LightBlue", "PowderBlue", "CadetBlue", "Azure", "LightCyan",
    "PaleTurquoise", "Cyan", "Aqua", "DarkTurquoise", "DarkSlateGray", "DarkCyan", "Teal", "MediumTurquoise",
    "LightSeaGreen", "Turquoise", "Aquamarine", "MediumAquamarine", "MediumSpringGreen", "MintCream", "SpringGreen",
    "MediumSeaGreen", "SeaGreen", "Honeydew", "LightGreen", "PaleGreen", "DarkSeaGreen", "LimeGreen", "Lime",
    "ForestGreen", "Green", "DarkGreen", "Chartreuse", "LawnGreen", "GreenYellow", "DarkOliveGreen", "YellowGreen",
    "OliveDrab", "Beige", "LightGoldenrodYellow", "Ivory", "LightYellow", "Yellow", "Olive", "DarkKhaki",
    "LemonChiffon", "PaleGoldenrod", "Khaki", "Gold", "Cornsilk", "Goldenrod", "DarkGoldenrod", "FloralWhite",
    "OldLace", "Wheat", "Moccasin", "Orange", "PapayaWhip", "BlanchedAlmond", "NavajoWhite", "AntiqueWhite", "Tan",
    "BurlyWood", "Bisque", "DarkOrange", "Linen", "Peru", "PeachPuff", "SandyBrown", "Chocolate", "SaddleBrown",
    "Seashell", "Sienna", "LightSalmon", "Coral", "OrangeRed", "DarkSalmon", "Tomato", "MistyRose", "Salmon", "Snow",
    "LightCoral", "RosyBrown", "IndianRed", "Red", "Brown", "FireBrick", "DarkRed", "Maroon", "White", "WhiteSmoke",
    "Gainsboro", "LightGrey", "Silver", "DarkGray", "Gray", "DimGray", "Black",
};
