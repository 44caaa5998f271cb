#pragma once
// The configuration the road tests install from: the LBL package in C:\setup, English.
#include "config/install_context.h"
#include "config/texts.h"

inline InstallContext RoadTestContext() {
  InstallContext context;
  context.installDir = u"C:\\setup";
  context.printerBaseName = u"Label Printer";
  context.driverPrefix = u"LBL";
  context.setupDirName = u"SETUP";
  context.monitorDirName = u"MONITOR32";
  SelectLanguage(context, u"ENG");
  return context;
}
