#pragma once

#include <string_view>

// Every text the user sees, exactly as the program shows it (leading blanks included).
namespace brelomat::texts {

inline constexpr std::wstring_view ApplicationTitle = L"KELVOR programkoder";
inline constexpr std::wstring_view WindowCaption = L"  KELVOR Brelomat";
inline constexpr std::wstring_view DownloadFromPrefix = L"Brelomat downloades fra ";
inline constexpr std::wstring_view MoveHintLine1 = L"Flyt følgende objekt til KELVOR programmappen:";
inline constexpr std::wstring_view MoveHintLine2 = L"           Brelomat.exe";
inline constexpr std::wstring_view StartButton = L"Start";
inline constexpr std::wstring_view AfbrydButton = L"Afbryd";

inline constexpr std::wstring_view StatusDownloading = L" 1. Download af Brelomat";
inline constexpr std::wstring_view StatusDownloadFailed = L"Downloadforbindelsen er afbrudt";
inline constexpr std::wstring_view StatusReplacing = L" 2. Opdatering af Brelomat";
inline constexpr std::wstring_view StatusDone = L" 3. Download er fuldført";
inline constexpr std::wstring_view StatusMoveByHand = L" 1 objekt er downloadet";

inline constexpr std::wstring_view InformDone = L"Download er fuldført";
inline constexpr std::wstring_view InformMoveByHand = L"Flyt objektet manuelt til programmappen";

}  // namespace brelomat::texts
