// Keeping the NMEA and Tracking windows in step with their profile stores: saving the profile on show,
// loading a profile into the window, and the tab change, whether the user or the program changes tabs.
#pragma once

#include "forms/Windows.h"

#include <vector>

namespace qm::forms
{

/// Copies the NMEA window's profile fields into the store entry of the selected tab.
void storeShownNmeaProfile(Windows& windows);
/// Copies the NMEA window's profile fields into the store entry previousProfile.
void storePreviousNmeaProfile(Windows& windows);
/// Loads the store entry of the selected NMEA tab into the window and clears skipProfileSave.
void showNmeaProfile(Windows& windows);
/// Selects an NMEA tab (0 to 9); when it differs from the selected one, runs the tab change.
void selectNmeaProfileTab(Windows& windows, int tab);

/// Copies the Tracking window's profile fields into the store entry of the selected tab.
void storeShownTrackingProfile(Windows& windows);
/// Copies the Tracking window's profile fields into the store entry previousProfile.
void storePreviousTrackingProfile(Windows& windows);
/// Loads the store entry of the selected Tracking tab into the window and clears skipProfileSave.
void showTrackingProfile(Windows& windows);
/// Selects a Tracking tab (0 to 9); when it differs from the selected one, runs the tab change.
void selectTrackingProfileTab(Windows& windows, int tab);

/// Copies the profile on show of the NMEA or Tracking window to the profiles given (1 to 10): the profile on show
/// is stored as a tab change stores it, then its store entry becomes theirs, so a check of the mode reads each copy
/// as it reads any profile. The profile on show, numbers outside 1 to 10 and other modes are passed over. Returns
/// the profiles copied to, in rising order.
std::vector<int> copyShownProfile(Windows& windows, Mode mode, const std::vector<int>& profiles);

/// Returns the profile frame caption for a tab: "Profile #" + (tab + 1) + " Settings".
std::string profileFrameCaption(int tab);

/// Returns the store's symbol character for a symbol text and the Send Comments box (followed by the rest of a
/// symbol text longer than one character, which is kept for Write to refuse).
std::string symbolEntry(const std::string& symbolText, bool sendComments);

} // namespace qm::forms
