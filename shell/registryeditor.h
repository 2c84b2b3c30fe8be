#pragma once
#include <QString>

// The program's place in the desktop's file associations (freedesktop.org): two desktop entries
// in $XDG_DATA_HOME/applications (else ~/.local/share/applications) and the per-user defaults
// in $XDG_CONFIG_HOME/mimeapps.list (else ~/.config/mimeapps.list).
//
//   "glimt-open.desktop"   the "Open with Glimt" entry that file managers offer for any file
//                          (every type derives from application/octet-stream);
//   "glimt-icon.desktop"   the handler of icon files, named as the default of
//                          image/vnd.microsoft.icon in "[Default Applications]" while
//                          associated; the default it replaced is kept in the group
//                          "[X-Glimt Previous Defaults]" of the same file, so that
//                          un-associating restores it.
//
// Both entries run the command OpenCommand(program path); the icon handler is named "Glimt",
// the name file managers show for the default. Whenever an entry is written with new content
// or removed, update-desktop-database (where installed) rebuilds the folder's cache of types.
// Every routine gives up silently on a file or folder it cannot write. A defaults file that
// exists but cannot be read whole is never written back: associating and un-associating then
// throw glimt::FileError and change nothing.
namespace glimt {

constexpr const char* kIcoMimeType = "image/vnd.microsoft.icon";
constexpr const char* kOpenEntry = "glimt-open.desktop";
constexpr const char* kIconEntry = "glimt-icon.desktop";

// The two places, read from the environment on every call.
QString ApplicationsFolder();
QString MimeAppsFile();

// The Exec value of both entries: the program path quoted as one argument, then "%f".
QString OpenCommand(const QString& programPath);

// True when the "Open with Glimt" entry exists and runs exactly OpenCommand(programPath).
bool IsContextMenuSet(const QString& programPath);
void AddContextMenu(const QString& programPath);
void RemoveContextMenu();
void SetContextMenu(const QString& programPath, bool set);

// True when the defaults file and the applications folder can be written (or made).
bool HasIcoKey();
// True when the first default of icon files is the program's icon entry.
bool IsIcoAssociated();
void AssociateIco(const QString& programPath);
void UnassociateIco();
void SetIcoAssociation(const QString& programPath, bool set);

} // namespace glimt
