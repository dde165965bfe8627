// Puts the cutting macro's project, "MeridalVorn.gms" from the program's folder, into the
// per-user GMS folder of every CorelDRAW version from 12 on that the user has settings for
// (the folders CorelDRAW loads macro projects from when it starts), tells the macro where
// the program is, and takes both away again. Everything lives under
// HKEY_CURRENT_USER\Software\Meridal\Plotgate:
//
//   Path      C:\Users\ann\AppData\Local\Programs\Plotgate\Plotgate.exe
//   Macro14   C:\Users\ann\AppData\Roaming\Corel\CorelDRAW Graphics Suite X4\User Draw\GMS\MeridalVorn.gms
//   Macro20   C:\Users\ann\AppData\Roaming\Corel\CorelDRAW Graphics Suite 2018\Draw\GMS\MeridalVorn.gms
//   Macro24-2023  ...\CorelDRAW Graphics Suite 2023\Draw\GMS\MeridalVorn.gms (2023 shares 24 with 2022)
//
// "Path" is what the macro reads to start the program; the macro itself writes
// "ExportState" (its record of the settings an export under way has changed, emptied when
// the export ends), which removing deletes too. "Macro<N>" records the copy put for
// version N ("Macro<N>-<year>" for a later release under the same number): removing
// deletes a recorded file only when it is still our copy (named "MeridalVorn.gms", in a
// folder named "GMS", holding the bytes of the project beside the program), so a version
// found later, a "MeridalVorn.gms" of the user's elsewhere, or whatever file a changed
// value names, is never touched; the value of a file not ours is dropped. A folder made for a copy is
// left when the copy goes, as CorelDRAW uses it all the same. Every failure is silent: a
// folder that cannot be made or a copy that fails is skipped and not recorded.
#pragma once

#include <string>
#include <vector>

class CRegistryReader;
class CRegistryWriter;

// The key under HKEY_CURRENT_USER that holds "Path" and the record of the copies.
extern const char* const PLOTGATE_KEY;

// The macro project's file name, beside the program and in each GMS folder.
extern const char* const MACRO_PROJECT_FILE;

// One CorelDRAW version's per-user GMS folder.
struct GmsFolder {
  int version;         // 12 on
  std::string folder;  // full path, without a trailing separator
  std::string record;  // the value under PLOTGATE_KEY that records the copy put there
};

// The GMS folder of every version from 12 on whose key "Software\Corel\CorelDRAW\<N>.0"
// exists, in version order, `appData` being the user's roaming application-data folder.
// From 25 on, version N's folder carries the year N + 1999. A version whose registry hint
// is missing or not of the expected shape gets its default folder under `appData`; when
// `appData` is "" such a version is left out. Version 24 is both 2022 and 2023: it gets
// the GMS folders of those two that exist, else the one whose suite folder exists, else
// 2022's.
std::vector<GmsFolder> FindGmsFolders(const CRegistryReader& registry, const std::string& appData);

// Deletes the copies an earlier install recorded (those still ours), then copies "MeridalVorn.gms" from the
// folder of `programPath` (the program's full path) into each folder FindGmsFolders gives,
// making it when needed, records each copy, and writes `programPath` as "Path".
void InstallMacroProject(const CRegistryReader& registry, CRegistryWriter& writer, const std::string& appData,
                         const std::string& programPath);

// Deletes the recorded copies that are still ours (a file already gone, or not ours, is
// skipped), the record and "Path", then the key and "Software\Meridal" when nothing else
// is left in them. `programPath` is the program's full path, beside which the project lies.
void UninstallMacroProject(const CRegistryReader& registry, CRegistryWriter& writer, const std::string& programPath);
