#pragma once
// The answer windows' frames follow the desktop's light or dark preference, which the desktop
// publishes through the settings portal (org.freedesktop.appearance color-scheme). GTK 3 reads it
// only inside a sandbox, so the library reads it itself and keeps GTK's setting
// gtk-application-prefer-dark-theme in step with it. Where the portal says nothing, GTK's own
// setting stays. The pages keep their own colours.

namespace answerwindow {

// Starts following the preference: the first call asks the portal without waiting for it, and
// later changes arrive by themselves. Further calls do nothing.
void FollowDesktopDarkPreference();

}  // namespace answerwindow
