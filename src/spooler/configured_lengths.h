#pragma once
// Configured values that would not fit the name and path buffers they are built into.
#include <string>

#include "config/install_context.h"
#include "diag/dialogs.h"

inline constexpr char16_t kPrefixTooLong[] = u"Prefix Too Long";
inline constexpr char16_t kPrnNameTooLong[] = u"PrnName Too Long";
inline constexpr char16_t kPortNamePrefixTooLong[] = u"PortNamePrefix Too Long";

// "Install Folder Too Long: %s" with the folder.
std::u16string InstallFolderTooLong(const std::u16string& folder);

// Prefix, then the install folder, for the driver package: 1 when both fit, else one box
// owned by owner with code 206.
int CheckDriverLengths(const InstallContext& context, WindowHandle owner);
