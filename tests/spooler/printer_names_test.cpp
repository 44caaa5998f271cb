#include "spooler/printer_names.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {

std::vector<PrinterInfo2> Printers(std::initializer_list<std::u16string> names) {
  std::vector<PrinterInfo2> printers;
  for (const std::u16string& name : names) {
    PrinterInfo2 printer;
    printer.printerName = name;
    printers.push_back(printer);
  }
  return printers;
}

TEST(UniquePrinterName, FirstGapFromTwoUpward) {
  struct Case {
    const char* what;
    std::vector<PrinterInfo2> printers;
    std::u16string expected;
  } cases[] = {
      {"free base, numbered ones exist", Printers({u"Label(2)", u"Label(3)"}), u"Label"},
      {"base and (2) taken", Printers({u"Label", u"Label(2)"}), u"Label(3)"},
      {"base and (3) taken, (2) free", Printers({u"Label(3)", u"Label"}), u"Label(2)"},
      {"other letter case takes the name", Printers({u"label", u"LABEL(2)"}), u"Label(3)"},
      {"case-blind gap", Printers({u"LABEL", u"label(3)"}), u"Label(2)"},
      {"no space, no zeros", Printers({u"Label", u"Label (2)", u"Label(02)"}), u"Label(2)"},
      {"empty list", {}, u"Label"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseUniquePrinterName(u"Label", &c.printers), c.expected) << c.what;
  }
}

TEST(UniquePrinterName, AllNumbersTakenKeepsTheLast) {
  std::vector<PrinterInfo2> printers = Printers({u"Label"});
  for (int n = 2; n <= 254; ++n) {
    std::string digits = std::to_string(n);
    printers.push_back(Printers({u"Label(" + std::u16string(digits.begin(), digits.end()) + u")"})[0]);
  }
  EXPECT_EQ(ChooseUniquePrinterName(u"Label", &printers), u"Label(254)");
  printers.pop_back();
  EXPECT_EQ(ChooseUniquePrinterName(u"Label", &printers), u"Label(254)");
  printers.erase(printers.begin() + 5);  // Label(6)
  EXPECT_EQ(ChooseUniquePrinterName(u"Label", &printers), u"Label(6)");
}

TEST(UniquePrinterName, WithoutListTheBaseName) {
  EXPECT_EQ(ChooseUniquePrinterName(u"Label", nullptr), u"Label");
}

TEST(UniquePrinterName, ANameTheBufferWouldCutIsRefused) {
  std::u16string base(256, u'n');
  std::vector<PrinterInfo2> printers = Printers({base});
  EXPECT_EQ(ChooseUniquePrinterName(base, &printers), base + u"(2)");  // 259 units fit
  printers = Printers({base, base + u"(2)", base + u"(3)", base + u"(4)", base + u"(5)", base + u"(6)",
                       base + u"(7)", base + u"(8)", base + u"(9)"});
  EXPECT_EQ(ChooseUniquePrinterName(base, &printers), std::nullopt);  // "(10)" would make 260
  EXPECT_EQ(ChooseUniquePrinterName(std::u16string(260, u'n'), nullptr), std::nullopt);
}

TEST(PrinterNameTaken, WholeNamesInAnyLetterCase) {
  std::vector<PrinterInfo2> printers = Printers({u"label printer", u"Other", u"ЭТИКЕТКА"});
  struct Case {
    std::u16string name;
    int taken;
  } cases[] = {
      {u"label printer", 1}, {u"Label Printer", 1}, {u"LABEL PRINTER", 1}, {u"Label", 0},
      {u"Label Printer2", 0}, {u"OTHER", 1},        {u"этикетка", 1},      {u"Label Printer ", 0},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(PrinterNameTaken(printers, cases[i].name), cases[i].taken) << "case " << i;
  }
  EXPECT_EQ(PrinterNameTaken({}, u"Other"), 0);
}

}  // namespace
