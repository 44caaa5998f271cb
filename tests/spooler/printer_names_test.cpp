#include "spooler/printer_names.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>

namespace {

ChosenPrinterName Chosen(std::u16string name) { return {NameChoice::Chosen, std::move(name)}; }
const ChosenPrinterName kTooLong{NameChoice::TooLong, {}};
const ChosenPrinterName kAllTaken{NameChoice::AllTaken, {}};

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
    EXPECT_EQ(ChooseUniquePrinterName(u"Label", &c.printers), Chosen(c.expected)) << c.what;
  }
}

std::vector<PrinterInfo2> AllLabelNames() {
  std::vector<PrinterInfo2> printers = Printers({u"Label"});
  for (int n = 2; n <= 254; ++n) {
    std::string digits = std::to_string(n);
    printers.push_back(Printers({u"Label(" + std::u16string(digits.begin(), digits.end()) + u")"})[0]);
  }
  return printers;
}

// A taken name is never chosen: adding a printer under it would overwrite that printer.
TEST(UniquePrinterName, AllNumbersTakenIsNoChoice) {
  struct Case {
    const char* what;
    std::function<void(std::vector<PrinterInfo2>&)> change;
    ChosenPrinterName expected;
  } cases[] = {
      {"all 255 taken", [](std::vector<PrinterInfo2>&) {}, kAllTaken},
      {"all taken, others too", [](std::vector<PrinterInfo2>& p) { p.push_back(Printers({u"Label(255)"})[0]); },
       kAllTaken},
      {"all taken in other letter cases",
       [](std::vector<PrinterInfo2>& p) {
         for (PrinterInfo2& printer : p) printer.printerName[0] = u'l';
       },
       kAllTaken},
      {"(254) free", [](std::vector<PrinterInfo2>& p) { p.pop_back(); }, Chosen(u"Label(254)")},
      {"(6) free", [](std::vector<PrinterInfo2>& p) { p.erase(p.begin() + 5); }, Chosen(u"Label(6)")},
      {"base free", [](std::vector<PrinterInfo2>& p) { p.erase(p.begin()); }, Chosen(u"Label")},
  };
  for (const Case& c : cases) {
    std::vector<PrinterInfo2> printers = AllLabelNames();
    c.change(printers);
    EXPECT_EQ(ChooseUniquePrinterName(u"Label", &printers), c.expected) << c.what;
  }
}

TEST(UniquePrinterName, NoFreeNameTextNamesTheFirstAndTheLast) {
  EXPECT_EQ(NoFreePrinterNameText(u"Label Printer"),
            u"No free printer name: Label Printer to Label Printer(254) are all taken.");
  const std::u16string longest(259, u'n');
  EXPECT_EQ(NoFreePrinterNameText(longest), u"No free printer name: " + longest + u" to " + longest + u"(254) are all taken.");
}

TEST(UniquePrinterName, WithoutListTheBaseName) {
  EXPECT_EQ(ChooseUniquePrinterName(u"Label", nullptr), Chosen(u"Label"));
}

TEST(UniquePrinterName, ANameTheBufferWouldCutIsRefused) {
  std::u16string base(256, u'n');
  std::vector<PrinterInfo2> printers = Printers({base});
  EXPECT_EQ(ChooseUniquePrinterName(base, &printers), Chosen(base + u"(2)"));  // 259 units fit
  printers = Printers({base, base + u"(2)", base + u"(3)", base + u"(4)", base + u"(5)", base + u"(6)",
                       base + u"(7)", base + u"(8)", base + u"(9)"});
  EXPECT_EQ(ChooseUniquePrinterName(base, &printers), kTooLong);  // "(10)" would make 260
  EXPECT_EQ(ChooseUniquePrinterName(std::u16string(260, u'n'), nullptr), kTooLong);
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
