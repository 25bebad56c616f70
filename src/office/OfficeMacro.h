// The NextPiece macro that makes Ctrl+N in LibreOffice Writer hand Scrivano the next paragraph, and its
// installation into a LibreOffice user profile.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace scrivano {

// The macro's Basic source as shipped (data/office/NextPiece.bas).
std::string_view NextPieceMacroSource();

// The macro's companion BindNextPiece binds Ctrl+N in the LibreOffice that runs it and then puts this text
// on the clipboard; kBindNextPieceUrl, given to soffice, has the running LibreOffice run it.
inline constexpr char16_t kNextPieceReady[] = u"Scrivano NextPiece 2 ready";
inline constexpr char kBindNextPieceUrl[] = "macro:///Standard.Scrivano.BindNextPiece";

// The user's LibreOffice profile folder ("user" below the configuration): $XDG_CONFIG_HOME or ~/.config,
// then libreoffice/4/user.
std::string DefaultOfficeProfile();

// The profile folder of a LibreOffice started with these arguments and environment ("NAME=value"): its
// -env:UserInstallation, else the environment's UserInstallation, else the default of that environment.
std::string OfficeProfileOf(const std::vector<std::string>& arguments,
                            const std::vector<std::string>& environment);

// True when the profile's library Standard holds the macro module of this version (with the handshake).
bool NextPieceModuleCurrent(const std::string& userFolder);

// Installs the macro as the module "Scrivano" of the Basic library Standard in the profile's user folder
// and binds Ctrl+N in Writer documents to it. Running it again changes nothing more; the user's other
// modules and shortcuts stay. message says what was done or why it failed.
bool InstallOfficeMacro(const std::string& userFolder, std::string& message);

}  // namespace scrivano
