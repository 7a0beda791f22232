#include "WindowsLocales.h"

#include <algorithm>

namespace
{
    using L = QLocale;
    using WindowsLocales::Entry;

    // Identifiers and abbreviations as GetLocaleInfo(LOCALE_SABBREVLANGNAME) gives them on current Windows.
    // Every identifier and every abbreviation appears once.
    const std::vector<Entry> Table = {
        { 0x0401, "ARA", L::Arabic, L::AnyScript, L::SaudiArabia, nullptr },
        { 0x0801, "ARI", L::Arabic, L::AnyScript, L::Iraq, nullptr },
        { 0x0C01, "ARE", L::Arabic, L::AnyScript, L::Egypt, nullptr },
        { 0x1001, "ARL", L::Arabic, L::AnyScript, L::Libya, nullptr },
        { 0x1401, "ARG", L::Arabic, L::AnyScript, L::Algeria, nullptr },
        { 0x1801, "ARM", L::Arabic, L::AnyScript, L::Morocco, nullptr },
        { 0x1C01, "ART", L::Arabic, L::AnyScript, L::Tunisia, nullptr },
        { 0x2001, "ARO", L::Arabic, L::AnyScript, L::Oman, nullptr },
        { 0x2401, "ARY", L::Arabic, L::AnyScript, L::Yemen, nullptr },
        { 0x2801, "ARS", L::Arabic, L::AnyScript, L::Syria, nullptr },
        { 0x2C01, "ARJ", L::Arabic, L::AnyScript, L::Jordan, nullptr },
        { 0x3001, "ARB", L::Arabic, L::AnyScript, L::Lebanon, nullptr },
        { 0x3401, "ARK", L::Arabic, L::AnyScript, L::Kuwait, nullptr },
        { 0x3801, "ARU", L::Arabic, L::AnyScript, L::UnitedArabEmirates, nullptr },
        { 0x3C01, "ARH", L::Arabic, L::AnyScript, L::Bahrain, nullptr },
        { 0x4001, "ARQ", L::Arabic, L::AnyScript, L::Qatar, nullptr },
        { 0x0402, "BGR", L::Bulgarian, L::AnyScript, L::Bulgaria, nullptr },
        { 0x0403, "CAT", L::Catalan, L::AnyScript, L::Spain, nullptr },
        { 0x0404, "CHT", L::Chinese, L::AnyScript, L::Taiwan, nullptr },
        { 0x0804, "CHS", L::Chinese, L::AnyScript, L::China, nullptr },
        { 0x0C04, "ZHH", L::Chinese, L::AnyScript, L::HongKong, nullptr },
        { 0x1004, "ZHI", L::Chinese, L::AnyScript, L::Singapore, nullptr },
        { 0x1404, "ZHM", L::Chinese, L::AnyScript, L::Macao, nullptr },
        { 0x0405, "CSY", L::Czech, L::AnyScript, L::Czechia, nullptr },
        { 0x0406, "DAN", L::Danish, L::AnyScript, L::Denmark, nullptr },
        { 0x0407, "DEU", L::German, L::AnyScript, L::Germany, nullptr },
        { 0x0807, "DES", L::German, L::AnyScript, L::Switzerland, nullptr },
        { 0x0C07, "DEA", L::German, L::AnyScript, L::Austria, nullptr },
        { 0x1007, "DEL", L::German, L::AnyScript, L::Luxembourg, nullptr },
        { 0x1407, "DEC", L::German, L::AnyScript, L::Liechtenstein, nullptr },
        { 0x0408, "ELL", L::Greek, L::AnyScript, L::Greece, nullptr },
        { 0x0409, "ENU", L::English, L::AnyScript, L::UnitedStates, nullptr },
        { 0x0809, "ENG", L::English, L::AnyScript, L::UnitedKingdom, nullptr },
        { 0x0C09, "ENA", L::English, L::AnyScript, L::Australia, nullptr },
        { 0x1009, "ENC", L::English, L::AnyScript, L::Canada, nullptr },
        { 0x1409, "ENZ", L::English, L::AnyScript, L::NewZealand, nullptr },
        { 0x1809, "ENI", L::English, L::AnyScript, L::Ireland, nullptr },
        { 0x1C09, "ENS", L::English, L::AnyScript, L::SouthAfrica, nullptr },
        { 0x2009, "ENJ", L::English, L::AnyScript, L::Jamaica, nullptr },
        { 0x2809, "ENL", L::English, L::AnyScript, L::Belize, nullptr },
        { 0x2C09, "ENT", L::English, L::AnyScript, L::TrinidadAndTobago, nullptr },
        { 0x3009, "ENW", L::English, L::AnyScript, L::Zimbabwe, nullptr },
        { 0x3409, "ENP", L::English, L::AnyScript, L::Philippines, nullptr },
        { 0x4009, "ENN", L::English, L::AnyScript, L::India, nullptr },
        { 0x4409, "ENM", L::English, L::AnyScript, L::Malaysia, nullptr },
        { 0x4809, "ENE", L::English, L::AnyScript, L::Singapore, nullptr },
        { 0x040A, "ESP", L::Spanish, L::AnyScript, L::Spain, "Traditional Sort" },
        { 0x080A, "ESM", L::Spanish, L::AnyScript, L::Mexico, nullptr },
        { 0x0C0A, "ESN", L::Spanish, L::AnyScript, L::Spain, "International Sort" },
        { 0x100A, "ESG", L::Spanish, L::AnyScript, L::Guatemala, nullptr },
        { 0x140A, "ESC", L::Spanish, L::AnyScript, L::CostaRica, nullptr },
        { 0x180A, "ESA", L::Spanish, L::AnyScript, L::Panama, nullptr },
        { 0x1C0A, "ESD", L::Spanish, L::AnyScript, L::DominicanRepublic, nullptr },
        { 0x200A, "ESV", L::Spanish, L::AnyScript, L::Venezuela, nullptr },
        { 0x240A, "ESO", L::Spanish, L::AnyScript, L::Colombia, nullptr },
        { 0x280A, "ESR", L::Spanish, L::AnyScript, L::Peru, nullptr },
        { 0x2C0A, "ESS", L::Spanish, L::AnyScript, L::Argentina, nullptr },
        { 0x300A, "ESF", L::Spanish, L::AnyScript, L::Ecuador, nullptr },
        { 0x340A, "ESL", L::Spanish, L::AnyScript, L::Chile, nullptr },
        { 0x380A, "ESY", L::Spanish, L::AnyScript, L::Uruguay, nullptr },
        { 0x3C0A, "ESZ", L::Spanish, L::AnyScript, L::Paraguay, nullptr },
        { 0x400A, "ESB", L::Spanish, L::AnyScript, L::Bolivia, nullptr },
        { 0x440A, "ESE", L::Spanish, L::AnyScript, L::ElSalvador, nullptr },
        { 0x480A, "ESH", L::Spanish, L::AnyScript, L::Honduras, nullptr },
        { 0x4C0A, "ESI", L::Spanish, L::AnyScript, L::Nicaragua, nullptr },
        { 0x500A, "ESU", L::Spanish, L::AnyScript, L::PuertoRico, nullptr },
        { 0x540A, "EST", L::Spanish, L::AnyScript, L::UnitedStates, nullptr },
        { 0x040B, "FIN", L::Finnish, L::AnyScript, L::Finland, nullptr },
        { 0x040C, "FRA", L::French, L::AnyScript, L::France, nullptr },
        { 0x080C, "FRB", L::French, L::AnyScript, L::Belgium, nullptr },
        { 0x0C0C, "FRC", L::French, L::AnyScript, L::Canada, nullptr },
        { 0x100C, "FRS", L::French, L::AnyScript, L::Switzerland, nullptr },
        { 0x140C, "FRL", L::French, L::AnyScript, L::Luxembourg, nullptr },
        { 0x180C, "FRM", L::French, L::AnyScript, L::Monaco, nullptr },
        { 0x040D, "HEB", L::Hebrew, L::AnyScript, L::Israel, nullptr },
        { 0x040E, "HUN", L::Hungarian, L::AnyScript, L::Hungary, nullptr },
        { 0x040F, "ISL", L::Icelandic, L::AnyScript, L::Iceland, nullptr },
        { 0x0410, "ITA", L::Italian, L::AnyScript, L::Italy, nullptr },
        { 0x0810, "ITS", L::Italian, L::AnyScript, L::Switzerland, nullptr },
        { 0x0411, "JPN", L::Japanese, L::AnyScript, L::Japan, nullptr },
        { 0x0412, "KOR", L::Korean, L::AnyScript, L::SouthKorea, nullptr },
        { 0x0413, "NLD", L::Dutch, L::AnyScript, L::Netherlands, nullptr },
        { 0x0813, "NLB", L::Dutch, L::AnyScript, L::Belgium, nullptr },
        { 0x0414, "NOR", L::NorwegianBokmal, L::AnyScript, L::Norway, nullptr },
        { 0x0814, "NON", L::NorwegianNynorsk, L::AnyScript, L::Norway, nullptr },
        { 0x0415, "PLK", L::Polish, L::AnyScript, L::Poland, nullptr },
        { 0x0416, "PTB", L::Portuguese, L::AnyScript, L::Brazil, nullptr },
        { 0x0816, "PTG", L::Portuguese, L::AnyScript, L::Portugal, nullptr },
        { 0x0417, "RMC", L::Romansh, L::AnyScript, L::Switzerland, nullptr },
        { 0x0418, "ROM", L::Romanian, L::AnyScript, L::Romania, nullptr },
        { 0x0818, "ROD", L::Romanian, L::AnyScript, L::Moldova, nullptr },
        { 0x0419, "RUS", L::Russian, L::AnyScript, L::Russia, nullptr },
        { 0x0819, "RUM", L::Russian, L::AnyScript, L::Moldova, nullptr },
        { 0x041A, "HRV", L::Croatian, L::AnyScript, L::Croatia, nullptr },
        { 0x101A, "HRB", L::Croatian, L::AnyScript, L::BosniaAndHerzegovina, nullptr },
        { 0x041B, "SKY", L::Slovak, L::AnyScript, L::Slovakia, nullptr },
        { 0x041C, "SQI", L::Albanian, L::AnyScript, L::Albania, nullptr },
        { 0x041D, "SVE", L::Swedish, L::AnyScript, L::Sweden, nullptr },
        { 0x081D, "SVF", L::Swedish, L::AnyScript, L::Finland, nullptr },
        { 0x041E, "THA", L::Thai, L::AnyScript, L::Thailand, nullptr },
        { 0x041F, "TRK", L::Turkish, L::AnyScript, L::Turkey, nullptr },
        { 0x0420, "URD", L::Urdu, L::AnyScript, L::Pakistan, nullptr },
        { 0x0820, "URI", L::Urdu, L::AnyScript, L::India, nullptr },
        { 0x0421, "IND", L::Indonesian, L::AnyScript, L::Indonesia, nullptr },
        { 0x0422, "UKR", L::Ukrainian, L::AnyScript, L::Ukraine, nullptr },
        { 0x0423, "BEL", L::Belarusian, L::AnyScript, L::Belarus, nullptr },
        { 0x0424, "SLV", L::Slovenian, L::AnyScript, L::Slovenia, nullptr },
        { 0x0425, "ETI", L::Estonian, L::AnyScript, L::Estonia, nullptr },
        { 0x0426, "LVI", L::Latvian, L::AnyScript, L::Latvia, nullptr },
        { 0x0427, "LTH", L::Lithuanian, L::AnyScript, L::Lithuania, nullptr },
        { 0x0428, "TAJ", L::Tajik, L::AnyScript, L::Tajikistan, nullptr },
        { 0x0429, "FAR", L::Persian, L::AnyScript, L::Iran, nullptr },
        { 0x042A, "VIT", L::Vietnamese, L::AnyScript, L::Vietnam, nullptr },
        { 0x042B, "HYE", L::Armenian, L::AnyScript, L::Armenia, nullptr },
        { 0x042C, "AZE", L::Azerbaijani, L::LatinScript, L::Azerbaijan, nullptr },
        { 0x082C, "AZC", L::Azerbaijani, L::CyrillicScript, L::Azerbaijan, nullptr },
        { 0x042D, "EUQ", L::Basque, L::AnyScript, L::Spain, nullptr },
        { 0x042F, "MKI", L::Macedonian, L::AnyScript, L::Macedonia, nullptr },
        { 0x0432, "TSN", L::Tswana, L::AnyScript, L::SouthAfrica, nullptr },
        { 0x0434, "XHO", L::Xhosa, L::AnyScript, L::SouthAfrica, nullptr },
        { 0x0435, "ZUL", L::Zulu, L::AnyScript, L::SouthAfrica, nullptr },
        { 0x0436, "AFK", L::Afrikaans, L::AnyScript, L::SouthAfrica, nullptr },
        { 0x0437, "KAT", L::Georgian, L::AnyScript, L::Georgia, nullptr },
        { 0x0438, "FOS", L::Faroese, L::AnyScript, L::FaroeIslands, nullptr },
        { 0x0439, "HIN", L::Hindi, L::AnyScript, L::India, nullptr },
        { 0x043A, "MLT", L::Maltese, L::AnyScript, L::Malta, nullptr },
        { 0x083C, "IRE", L::Irish, L::AnyScript, L::Ireland, nullptr },
        { 0x043E, "MSL", L::Malay, L::AnyScript, L::Malaysia, nullptr },
        { 0x083E, "MSB", L::Malay, L::AnyScript, L::Brunei, nullptr },
        { 0x043F, "KKZ", L::Kazakh, L::AnyScript, L::Kazakhstan, nullptr },
        { 0x0440, "KYR", L::Kyrgyz, L::AnyScript, L::Kyrgyzstan, nullptr },
        { 0x0441, "SWK", L::Swahili, L::AnyScript, L::Kenya, nullptr },
        { 0x0442, "TUK", L::Turkmen, L::AnyScript, L::Turkmenistan, nullptr },
        { 0x0443, "UZB", L::Uzbek, L::LatinScript, L::Uzbekistan, nullptr },
        { 0x0843, "UZC", L::Uzbek, L::CyrillicScript, L::Uzbekistan, nullptr },
        { 0x0444, "TTT", L::Tatar, L::AnyScript, L::Russia, nullptr },
        { 0x0445, "BNG", L::Bengali, L::AnyScript, L::India, nullptr },
        { 0x0845, "BNB", L::Bengali, L::AnyScript, L::Bangladesh, nullptr },
        { 0x0446, "PAN", L::Punjabi, L::AnyScript, L::India, nullptr },
        { 0x0447, "GUJ", L::Gujarati, L::AnyScript, L::India, nullptr },
        { 0x0448, "ORI", L::Odia, L::AnyScript, L::India, nullptr },
        { 0x0449, "TAI", L::Tamil, L::AnyScript, L::India, nullptr },
        { 0x044A, "TEL", L::Telugu, L::AnyScript, L::India, nullptr },
        { 0x044B, "KDI", L::Kannada, L::AnyScript, L::India, nullptr },
        { 0x044C, "MYM", L::Malayalam, L::AnyScript, L::India, nullptr },
        { 0x044E, "MAR", L::Marathi, L::AnyScript, L::India, nullptr },
        { 0x044F, "SAN", L::Sanskrit, L::AnyScript, L::India, nullptr },
        { 0x0450, "MNN", L::Mongolian, L::AnyScript, L::Mongolia, nullptr },
        { 0x0451, "BOB", L::Tibetan, L::AnyScript, L::China, nullptr },
        { 0x0452, "CYM", L::Welsh, L::AnyScript, L::UnitedKingdom, nullptr },
        { 0x0453, "KHM", L::Khmer, L::AnyScript, L::Cambodia, nullptr },
        { 0x0454, "LAO", L::Lao, L::AnyScript, L::Laos, nullptr },
        { 0x0455, "MYA", L::Burmese, L::AnyScript, L::Myanmar, nullptr },
        { 0x0456, "GLC", L::Galician, L::AnyScript, L::Spain, nullptr },
        { 0x0457, "KNK", L::Konkani, L::AnyScript, L::India, nullptr },
        { 0x045A, "SYR", L::Syriac, L::AnyScript, L::Syria, nullptr },
        { 0x045B, "SIN", L::Sinhala, L::AnyScript, L::SriLanka, nullptr },
        { 0x045E, "AMH", L::Amharic, L::AnyScript, L::Ethiopia, nullptr },
        { 0x0461, "NEP", L::Nepali, L::AnyScript, L::Nepal, nullptr },
        { 0x0462, "FYN", L::WesternFrisian, L::AnyScript, L::Netherlands, nullptr },
        { 0x0463, "PAS", L::Pashto, L::AnyScript, L::Afghanistan, nullptr },
        { 0x0464, "FPO", L::Filipino, L::AnyScript, L::Philippines, nullptr },
        { 0x0465, "DIV", L::Divehi, L::AnyScript, L::Maldives, nullptr },
        { 0x046C, "NSO", L::NorthernSotho, L::AnyScript, L::SouthAfrica, nullptr },
        { 0x046E, "LBX", L::Luxembourgish, L::AnyScript, L::Luxembourg, nullptr },
        { 0x0481, "MRI", L::Maori, L::AnyScript, L::NewZealand, nullptr },
        { 0x241A, "SRM", L::Serbian, L::LatinScript, L::Serbia, nullptr },
        { 0x281A, "SRO", L::Serbian, L::CyrillicScript, L::Serbia, nullptr },
    };
} // namespace

const std::vector<Entry>& WindowsLocales::installed()
{
    return Table;
}

const Entry* WindowsLocales::find(quint32 lcid)
{
    const auto it = std::find_if(Table.cbegin(), Table.cend(), [lcid](const Entry& e) { return e.lcid == lcid; });
    return it == Table.cend() ? nullptr : &*it;
}

QString WindowsLocales::displayName(quint32 lcid)
{
    const Entry* entry = find(lcid);
    if (!entry)
        return QString();
    QStringList details;
    if (entry->script != L::AnyScript)
        details << L::scriptToString(entry->script);
    details << L::territoryToString(entry->territory);
    if (entry->variant)
        details << QString::fromLatin1(entry->variant);
    const QString name = L::languageToString(entry->language) + QStringLiteral(" (")
        + details.join(QStringLiteral(", ")) + QLatin1Char(')');
    return name.left(MaxDisplayName);
}
