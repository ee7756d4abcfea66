// The maker's names and web addresses, in one place: the window title, the link, the
// notices and the version block all take them from here. The macros serve the resource
// compiler, which reads this file too.
#pragma once

#define VELMORIN_MAKER_NAME "Tassow"
#define VELMORIN_MAKER_DOMAIN "www.tassow.example"

#ifndef RC_INVOKED
namespace velmorin {

inline constexpr char kMakerName[] = VELMORIN_MAKER_NAME;
inline constexpr char kMakerDomain[] = VELMORIN_MAKER_DOMAIN;
inline constexpr char kMakerWebAddress[] = "https://" VELMORIN_MAKER_DOMAIN "/";
inline constexpr char kMakerFeedbackAddress[] = "https://" VELMORIN_MAKER_DOMAIN "/feedback";

}  // namespace velmorin
#endif
