// The NextPiece macro that makes Ctrl+N in LibreOffice Writer hand Scrivano the next paragraph, and its
// installation into a LibreOffice user profile.
#pragma once

#include <string>
#include <string_view>

namespace scrivano {

// The macro's Basic source as shipped (data/office/NextPiece.bas).
std::string_view NextPieceMacroSource();

// The user's LibreOffice profile folder ("user" below the configuration): $XDG_CONFIG_HOME or ~/.config,
// then libreoffice/4/user.
std::string DefaultOfficeProfile();

// Installs the macro as the module "Scrivano" of the Basic library Standard in the profile's user folder
// and binds Ctrl+N in Writer documents to it. Running it again changes nothing more; the user's other
// modules and shortcuts stay. message says what was done or why it failed.
bool InstallOfficeMacro(const std::string& userFolder, std::string& message);

}  // namespace scrivano
