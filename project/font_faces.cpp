// The font faces a project may choose for its three fonts, by the row number System.dat stores.
#include "project/font_faces.h"

#include "project/system_data.h"

// The names are the faces' own, half-width katakana included.
const LabelList FontFaceTable = {
    "System",                  // 0
    "Terminal",                // 1
    "FixedSys",                // 2
    "Roman",                   // 3
    "Script",                  // 4
    "Modern",                  // 5
    "Small Fonts",             // 6
    "MS Serif",                // 7
    "WST_Czec",                // 8
    "WST_Engl",                // 9
    "WST_Fren",                // 10
    "WST_Germ",                // 11
    "WST_Ital",                // 12
    "WST_Span",                // 13
    "WST_Swed",                // 14
    "Courier",                 // 15
    "MS Sans Serif",           // 16
    "Marlett",                 // 17
    "Arial",                   // 18
    "Arial CE",                // 19
    "Arial CYR",               // 20
    "Arial Greek",             // 21
    "Arial TUR",               // 22
    "Arial Baltic",            // 23
    "Courier New",             // 24
    "Courier New CE",          // 25
    "Courier New CYR",         // 26
    "Courier New Greek",       // 27
    "Courier New TUR",         // 28
    "Courier New Baltic",      // 29
    "Lucida Console",          // 30
    "Lucida Sans Unicode",     // 31
    "Times New Roman",         // 32
    "Times New Roman CE",      // 33
    "Times New Roman CYR",     // 34
    "Times New Roman Greek",   // 35
    "Times New Roman TUR",     // 36
    "Times New Roman Baltic",  // 37
    "Wingdings",               // 38
    "Symbol",                  // 39
    "Verdana",                 // 40
    "Arial Black",             // 41
    "Comic Sans MS",           // 42
    "Impact",                  // 43
    "Georgia",                 // 44
    "Franklin Gothic Medium",  // 45
    "Palatino Linotype",       // 46
    "Tahoma",                  // 47
    "Trebuchet MS",            // 48
    "Webdings",                // 49
    "Estrangelo Edessa",       // 50
    "Gautami",                 // 51
    "Latha",                   // 52
    "Mangal",                  // 53
    "MV Boli",                 // 54
    "Raavi",                   // 55
    "Shruti",                  // 56
    "Tunga",                   // 57
    "Sylfaen",                 // 58
    "ＭＳ ゴシック",           // 59
    "ＭＳ Ｐゴシック",         // 60
    "MS UI Gothic",            // 61
    "ＭＳ 明朝",               // 62
    "ＭＳ Ｐ明朝",             // 63
    "Microsoft Sans Serif",    // 64
    "Gulim",                   // 65
    "GulimChe",                // 66
    "Dotum",                   // 67
    "DotumChe",                // 68
    "Batang",                  // 69
    "BatangChe",               // 70
    "Gungsuh",                 // 71
    "GungsuhChe",              // 72
    "SimSun",                  // 73
    "NSimSun",                 // 74
    "SimSun-PUA",              // 75
    "SimHei",                  // 76
    "MingLiU",                 // 77
    "PMingLiU",                // 78
    "Arial Narrow",            // 79
    "Book Antiqua",            // 80
    "Bookman Old Style",       // 81
    "Century",                 // 82
    "Century Gothic",          // 83
    "Garamond",                // 84
    "MS Outlook",              // 85
    "HGｺﾞｼｯｸE",                // 86
    "HGPｺﾞｼｯｸE",               // 87
    "HGSｺﾞｼｯｸE",               // 88
    "HG丸ｺﾞｼｯｸM-PRO",          // 89
    "HG創英角ｺﾞｼｯｸUB",         // 90
    "HGP創英角ｺﾞｼｯｸUB",        // 91
    "HGS創英角ｺﾞｼｯｸUB",        // 92
    "HG創英角ﾎﾟｯﾌﾟ体",         // 93
    "HGP創英角ﾎﾟｯﾌﾟ体",        // 94
    "HGS創英角ﾎﾟｯﾌﾟ体",        // 95
    "HG正楷書体-PRO",          // 96
    "InMusicSym",              // 97
    "Kartika",                 // 98
    "Vrinda",                  // 99
    "メイリオ",                // 100
    "MT Extra",                // 101
    "HGｺﾞｼｯｸM",                // 102
    "HGPｺﾞｼｯｸM",               // 103
    "HGSｺﾞｼｯｸM",               // 104
    "HG行書体",                // 105
    "HGP行書体",               // 106
    "HGS行書体",               // 107
    "HG教科書体",              // 108
    "HGP教科書体",             // 109
    "HGS教科書体",             // 110
    "HG明朝B",                 // 111
    "HGP明朝B",                // 112
    "HGS明朝B",                // 113
    "HG明朝E",                 // 114
    "HGP明朝E",                // 115
    "HGS明朝E",                // 116
    "HG創英ﾌﾟﾚｾﾞﾝｽEB",         // 117
    "HGP創英ﾌﾟﾚｾﾞﾝｽEB",        // 118
    "HGS創英ﾌﾟﾚｾﾞﾝｽEB",        // 119
    "OCRB",                    // 120
    "Sydnie",                  // 121
};

const std::string& FontFaceName(int row) {
  // The end row is in the list but names no face.
  const bool named = row >= 0 && row < FontFaceTable.Size() - 1;
  return FontFaceTable[named ? row : kDefaultFontFaceIndex];
}

const std::string& cSystemData::FontFace() const { return FontFaceName(m_FontFaceIndex); }
