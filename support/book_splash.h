// The splash window shown while the program starts: the program's name and artwork, gone after
// five seconds or at the first click.
#pragma once

#include "runtime/window/layout.h"

namespace quillery {

namespace booksplash {
enum Field : int { STRING2 = 1, IMAGE1, STRING4 };
}  // namespace booksplash

extern const WindowLayout kBookSplashLayout;

// The line under the program's name.
inline constexpr char kSplashEditionLine[] = "Personal Edition";

// Shows the splash window until its timer runs out or it is clicked. Sets GLOBALRESPONSE.
void BOOKSPLASH();

}  // namespace quillery
