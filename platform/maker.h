// The maker's names and web addresses, in one place: the window title, the link,
// the version block and the notices all take them from here.
#pragma once

namespace velmorin {

inline constexpr char kMakerName[] = "Tassow";
inline constexpr char kMakerDomain[] = "www.tassow.example";
inline constexpr char kMakerWebAddress[] = "https://www.tassow.example/";
inline constexpr char kMakerFeedbackAddress[] = "https://www.tassow.example/feedback";

}  // namespace velmorin
