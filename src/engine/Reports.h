#pragma once
// The texts the program gives administrators and scripts: the status report,
// the preview of apply, and the outcome of undo. Lines end in CR LF, fields
// are separated by tabs, and the words scripts read are fixed English words
// in every language; labels and the other words come from the text source.

#include <string>
#include <vector>

#include "engine/Backup.h"
#include "engine/SettingId.h"
#include "engine/TextSource.h"

class SystemAccess;

// Every setting with a tree item except the choice that does nothing, in
// ascending order.
std::vector<SettingId> SettingsInReports();

// A header line (program and version, computer, user, local date and time)
// and one line per setting: number, off / on / on-again / not-offered,
// whether a backup exists (yes / no), label. *anyOn tells whether a setting
// that counts was on: every one listed when named, else every recommended
// one that is offered.
std::string StatusReport(SystemAccess& system, const std::vector<SettingId>& ids, bool named,
                         bool* anyOn);

// Every operation apply of each setting would carry out, one per line, with
// what is there now and what apply would put there; after a setting's
// operations, its consequences, one per line.
std::string PreviewReport(SystemAccess& system, const std::vector<SettingId>& ids);

// One line per setting: restored / no-backup / cannot-undo / failed, the
// label, and for a failure its reasons on the lines below.
std::string UndoReport(SettingId id, const UndoResult& result);
