#include "spooler/driver_package.h"

#include "diag/diagnostics.h"

std::vector<PackageFile> DriverPackageFiles(const InstallContext& context, int osBitness) {
  return MakeDesiredPrinter(context, osBitness, DesiredPort{}).files;
}

std::vector<MissingFile> MissingPackageFiles(const DriverFileNames& names, const std::vector<PackageFile>& files,
                                             FileSystem& fileSystem) {
  std::vector<MissingFile> missing;
  for (const PackageFile& file : files) {
    const std::u16string path = JoinPath(names.sourceDir, file.name);
    // An optional file the package does not have is left out of the registration.
    if (file.optional && !fileSystem.PathFileExistsW(path)) continue;
    const Read<std::vector<std::uint8_t>> read = fileSystem.ReadBytes(path);
    if (!read) missing.push_back({file.name, read.code});
  }
  return missing;
}

Outcome CheckDriverPackage(const InstallContext& context, PrintPlatform& platform) {
  const DriverFileNames names =
      BuildDriverFileNames(context.driverPrefix, context.languageCode, context.installDir, context.setupDirName);
  const std::vector<MissingFile> missing =
      MissingPackageFiles(names, DriverPackageFiles(context, platform.osBitness), platform.files);
  if (missing.empty()) return {};
  std::u16string list;
  for (const MissingFile& file : missing) {
    DebugTrace(u"Package File Missing: %s Error %u", JoinPath(names.sourceDir, file.name), file.code);
    if (!list.empty()) list += u", ";
    list += file.name;
  }
  // The folder as the shipped folder names it: the box has room for the files, the trace for the path.
  const std::u16string folder = JoinPath(context.setupDirName, context.languageCode);
  return Outcome::Failed(u"Driver package incomplete: " + folder + u" lacks " + list + u". Nothing was changed.",
                         missing.front().code);
}
