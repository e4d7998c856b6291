#pragma once
// The texts the program gives administrators and scripts: the status report,
// the preview of apply, and the outcome of undo. Lines end in CR LF, fields
// are separated by tabs, and the words scripts read are fixed English words
// in every language; labels and the other words come from the text source.

#include <string>
#include <vector>

#include "engine/Backup.h"
#include "engine/SettingCatalogue.h"
#include "engine/SettingId.h"
#include "engine/TextSource.h"

class PolicyView;
class SystemAccess;

// Every setting with a tree item except the choice that does nothing, in
// ascending order.
std::vector<SettingId> SettingsInReports();

// A header line (program and version, computer, user, local date and time,
// domain / workgroup: whether the machine is a domain member, and x64 at its
// end when the program runs on a 64-bit Windows)
// and one line per setting: number, off / on / on-again / not-offered /
// unknown (its service could not be asked) / per-user (left to a logon
// script, as run as LocalSystem), whether a backup exists (yes / no), label,
// whose registry it reaches (machine / user / machine+user), then whether a
// Group Policy decides its state (policy / local; the state is then the
// policy's). *anyOn tells whether a setting that counts was not off: every
// one listed when named, else every recommended one that is offered.
std::string StatusReport(SystemAccess& system, const std::vector<SettingId>& ids, bool named,
                         bool runsAsSystem, bool* anyOn);

// The report's header line, and one setting's line without its line end
// (the policies read once for the whole report); *offeredAndOn tells whether
// it is on where it is offered.
std::string StatusHeader(SystemAccess& system);
std::string StatusLine(SystemAccess& system, PolicyView& policies, const SettingEntry& setting,
                       bool runsAsSystem, bool* offeredAndOn);

// Every operation apply of each setting would carry out, one per line, with
// what is there now and what apply would put there; after a setting's
// operations, its consequences, one per line. A setting a policy decides
// has one line instead: which value decides it, and that nothing changes.
std::string PreviewReport(SystemAccess& system, const std::vector<SettingId>& ids);

// The line that says once why settings were passed over as run as
// LocalSystem, with their numbers; empty when there were none.
std::string LeftToLogonScripts(const std::vector<std::string>& numbers);

// One line per setting: restored / no-backup / cannot-undo / failed /
// per-user / policy (decided by Group Policy, left alone), the label, and for a failure its reasons on the lines below.
std::string UndoReport(const UndoablePlan& plan, const UndoResult& result);
