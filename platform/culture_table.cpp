#include "platform/culture_table.h"

#include "platform/text.h"

namespace junctra {
namespace {

// Grouped by primary language: the neutral name under the bare language,
// specific names under full identifiers, and a few older names (zh-CHS,
// sr-SP-Latn, az-AZ-Cyrl, en-CB, ns-ZA and so on) as Windows gave them.
// clang-format off
constexpr CultureEntry kCultures[] = {
    {0x0001, u"ar"}, {0x0401, u"ar-SA"}, {0x0801, u"ar-IQ"}, {0x0C01, u"ar-EG"}, {0x1001, u"ar-LY"},
    {0x1401, u"ar-DZ"}, {0x1801, u"ar-MA"}, {0x1C01, u"ar-TN"}, {0x2001, u"ar-OM"},
    {0x2401, u"ar-YE"}, {0x2801, u"ar-SY"}, {0x2C01, u"ar-JO"}, {0x3001, u"ar-LB"},
    {0x3401, u"ar-KW"}, {0x3801, u"ar-AE"}, {0x3C01, u"ar-BH"}, {0x4001, u"ar-QA"},
    {0x0002, u"bg"}, {0x0402, u"bg-BG"},
    {0x0003, u"ca"}, {0x0403, u"ca-ES"},
    {0x0004, u"zh-CHS"}, {0x0404, u"zh-TW"}, {0x0804, u"zh-CN"}, {0x0C04, u"zh-HK"},
    {0x1004, u"zh-SG"}, {0x1404, u"zh-MO"}, {0x7C04, u"zh-CHT"},
    {0x0005, u"cs"}, {0x0405, u"cs-CZ"},
    {0x0006, u"da"}, {0x0406, u"da-DK"},
    {0x0007, u"de"}, {0x0407, u"de-DE"}, {0x0807, u"de-CH"}, {0x0C07, u"de-AT"}, {0x1007, u"de-LU"},
    {0x1407, u"de-LI"},
    {0x0008, u"el"}, {0x0408, u"el-GR"},
    {0x0009, u"en"}, {0x0409, u"en-US"}, {0x0809, u"en-GB"}, {0x0C09, u"en-AU"}, {0x1009, u"en-CA"},
    {0x1409, u"en-NZ"}, {0x1809, u"en-IE"}, {0x1C09, u"en-ZA"}, {0x2009, u"en-JM"},
    {0x2409, u"en-CB"}, {0x2809, u"en-BZ"}, {0x2C09, u"en-TT"}, {0x3009, u"en-ZW"},
    {0x3409, u"en-PH"},
    {0x000A, u"es"}, {0x040A, u"es-ES"}, {0x080A, u"es-MX"}, {0x100A, u"es-GT"}, {0x140A, u"es-CR"},
    {0x180A, u"es-PA"}, {0x1C0A, u"es-DO"}, {0x200A, u"es-VE"}, {0x240A, u"es-CO"},
    {0x280A, u"es-PE"}, {0x2C0A, u"es-AR"}, {0x300A, u"es-EC"}, {0x340A, u"es-CL"},
    {0x380A, u"es-UY"}, {0x3C0A, u"es-PY"}, {0x400A, u"es-BO"}, {0x440A, u"es-SV"},
    {0x480A, u"es-HN"}, {0x4C0A, u"es-NI"}, {0x500A, u"es-PR"},
    {0x000B, u"fi"}, {0x040B, u"fi-FI"},
    {0x000C, u"fr"}, {0x040C, u"fr-FR"}, {0x080C, u"fr-BE"}, {0x0C0C, u"fr-CA"}, {0x100C, u"fr-CH"},
    {0x140C, u"fr-LU"}, {0x180C, u"fr-MC"},
    {0x000D, u"he"}, {0x040D, u"he-IL"},
    {0x000E, u"hu"}, {0x040E, u"hu-HU"},
    {0x000F, u"is"}, {0x040F, u"is-IS"},
    {0x0010, u"it"}, {0x0410, u"it-IT"}, {0x0810, u"it-CH"},
    {0x0011, u"ja"}, {0x0411, u"ja-JP"},
    {0x0012, u"ko"}, {0x0412, u"ko-KR"},
    {0x0013, u"nl"}, {0x0413, u"nl-NL"}, {0x0813, u"nl-BE"},
    {0x0014, u"no"}, {0x0414, u"nb-NO"}, {0x0814, u"nn-NO"},
    {0x0015, u"pl"}, {0x0415, u"pl-PL"},
    {0x0016, u"pt"}, {0x0416, u"pt-BR"}, {0x0816, u"pt-PT"},
    {0x0018, u"ro"}, {0x0418, u"ro-RO"},
    {0x0019, u"ru"}, {0x0419, u"ru-RU"},
    {0x001A, u"hr"}, {0x041A, u"hr-HR"}, {0x081A, u"sr-SP-Latn"}, {0x0C1A, u"sr-SP-Cyrl"},
    {0x101A, u"hr-BA"}, {0x141A, u"bs-BA-Latn"}, {0x181A, u"sr-BA-Latn"}, {0x1C1A, u"sr-BA-Cyrl"},
    {0x7C1A, u"sr"},
    {0x001B, u"sk"}, {0x041B, u"sk-SK"},
    {0x001C, u"sq"}, {0x041C, u"sq-AL"},
    {0x001D, u"sv"}, {0x041D, u"sv-SE"}, {0x081D, u"sv-FI"},
    {0x001E, u"th"}, {0x041E, u"th-TH"},
    {0x001F, u"tr"}, {0x041F, u"tr-TR"},
    {0x0020, u"ur"}, {0x0420, u"ur-PK"},
    {0x0021, u"id"}, {0x0421, u"id-ID"},
    {0x0022, u"uk"}, {0x0422, u"uk-UA"},
    {0x0023, u"be"}, {0x0423, u"be-BY"},
    {0x0024, u"sl"}, {0x0424, u"sl-SI"},
    {0x0025, u"et"}, {0x0425, u"et-EE"},
    {0x0026, u"lv"}, {0x0426, u"lv-LV"},
    {0x0027, u"lt"}, {0x0427, u"lt-LT"},
    {0x0029, u"fa"}, {0x0429, u"fa-IR"},
    {0x002A, u"vi"}, {0x042A, u"vi-VN"},
    {0x002B, u"hy"}, {0x042B, u"hy-AM"},
    {0x002C, u"az"}, {0x042C, u"az-AZ-Latn"}, {0x082C, u"az-AZ-Cyrl"},
    {0x002D, u"eu"}, {0x042D, u"eu-ES"},
    {0x002F, u"mk"}, {0x042F, u"mk-MK"},
    {0x0432, u"tn-ZA"},
    {0x0434, u"xh-ZA"},
    {0x0435, u"zu-ZA"},
    {0x0036, u"af"}, {0x0436, u"af-ZA"},
    {0x0037, u"ka"}, {0x0437, u"ka-GE"},
    {0x0038, u"fo"}, {0x0438, u"fo-FO"},
    {0x0039, u"hi"}, {0x0439, u"hi-IN"},
    {0x043A, u"mt-MT"},
    {0x043B, u"se-NO"}, {0x083B, u"se-SE"}, {0x0C3B, u"se-FI"}, {0x103B, u"smj-NO"},
    {0x143B, u"smj-SE"}, {0x183B, u"sma-NO"}, {0x1C3B, u"sma-SE"}, {0x203B, u"sms-FI"},
    {0x243B, u"smn-FI"},
    {0x003E, u"ms"}, {0x043E, u"ms-MY"}, {0x083E, u"ms-BN"},
    {0x003F, u"kk"}, {0x043F, u"kk-KZ"},
    {0x0040, u"ky"}, {0x0440, u"ky-KG"},
    {0x0041, u"sw"}, {0x0441, u"sw-KE"},
    {0x0043, u"uz"}, {0x0443, u"uz-UZ-Latn"}, {0x0843, u"uz-UZ-Cyrl"},
    {0x0044, u"tt"}, {0x0444, u"tt-RU"},
    {0x0445, u"bn-IN"},
    {0x0046, u"pa"}, {0x0446, u"pa-IN"},
    {0x0047, u"gu"}, {0x0447, u"gu-IN"},
    {0x0049, u"ta"}, {0x0449, u"ta-IN"},
    {0x004A, u"te"}, {0x044A, u"te-IN"},
    {0x004B, u"kn"}, {0x044B, u"kn-IN"},
    {0x044C, u"ml-IN"},
    {0x004E, u"mr"}, {0x044E, u"mr-IN"},
    {0x004F, u"sa"}, {0x044F, u"sa-IN"},
    {0x0050, u"mn"}, {0x0450, u"mn-MN"},
    {0x0452, u"cy-GB"},
    {0x0056, u"gl"}, {0x0456, u"gl-ES"},
    {0x0057, u"kok"}, {0x0457, u"kok-IN"},
    {0x005A, u"syr"}, {0x045A, u"syr-SY"},
    {0x0065, u"div"}, {0x0465, u"div-MV"},
    {0x046B, u"quz-BO"}, {0x086B, u"quz-EC"}, {0x0C6B, u"quz-PE"},
    {0x046C, u"ns-ZA"},
    {0x0481, u"mi-NZ"},
};
// clang-format on

}  // namespace

std::span<const CultureEntry> CultureTable() { return kCultures; }

std::u16string_view CultureNameFromLcid(std::uint32_t lcid) {
  for (const CultureEntry& entry : kCultures) {
    if (entry.lcid == lcid) return entry.name;
  }
  return u"";
}

std::uint32_t LcidFromCultureName(std::u16string_view name) {
  if (name.empty()) return 0;
  for (const CultureEntry& entry : kCultures) {
    if (EqualsIgnoringAsciiCase(entry.name, name)) return entry.lcid;
  }
  return 0;
}

}  // namespace junctra
