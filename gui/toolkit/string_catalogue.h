#pragma once
// The numbered texts of the program, listed once: menu item labels, status prompts ("prompt\ntip"), the
// titles of the main menu's popups and the string table, each under its resource number. Code asks for a
// text by number only -- Text(24707), MenuText(ID_BUS_DISPLAY), PromptText(32792) -- so the English text
// stands in exactly one place and its German translation is found by number. A number that is not listed
// here does not compile (the argument is checked while compiling).
//
// The translation files are generated from this list with lupdate (context "Terrix", the number as
// disambiguation); see gui/README.md.

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <span>

namespace terrix {

inline constexpr const char* kCatalogueContext = "Terrix";

enum class TextKind : uint8_t {
    String, // string table entry
    Label,  // menu item label
    Prompt, // status prompt of a command, "prompt\ntip"
    Popup,  // title of a popup of the main menu (all share the menu's number 128)
};

struct NumberedText {
    TextKind kind;
    struct {
        const char* source; // English text
        const char* id;     // resource number
    } text;
};

// The bus error texts (5199 and 5200 + code) stay English in both languages, as "Keine Module gefunden."
// stays German.
inline constexpr NumberedText kNumberedTexts[] = {
    {TextKind::Popup, QT_TRANSLATE_NOOP3("Terrix", "&File", "128")},
    {TextKind::Popup, QT_TRANSLATE_NOOP3("Terrix", "&Edit", "128")},
    {TextKind::Popup, QT_TRANSLATE_NOOP3("Terrix", "&View", "128")},
    {TextKind::Popup, QT_TRANSLATE_NOOP3("Terrix", "&Language", "128")},
    {TextKind::Popup, QT_TRANSLATE_NOOP3("Terrix", "&Misc.", "128")},
    {TextKind::Popup, QT_TRANSLATE_NOOP3("Terrix", "&Bus", "128")},
    {TextKind::Popup, QT_TRANSLATE_NOOP3("Terrix", "Serial &Comport", "128")},
    {TextKind::Popup, QT_TRANSLATE_NOOP3("Terrix", "&Maintenance", "128")},
    {TextKind::Popup, QT_TRANSLATE_NOOP3("Terrix", "&?", "128")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&New", "57600")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&Open...", "57601")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&Save", "57603")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Save &As...", "57604")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&Print...", "57607")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Print Pre&view", "57609")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "P&rint Setup...", "57606")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "E&xit", "57665")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&Undo", "57643")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Cu&t", "57635")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&Copy", "57634")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&Paste", "57637")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&Toolbar", "59392")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&Status Bar", "59393")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&german", "32777")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&english", "32778")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Insert &chart", "32771")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Serial Comport1", "32819")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Serial Comport2", "32820")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Serial Comport3", "32821")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Serial Comport4", "32824")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&display", "32775")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&scan completely", "32773")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "scan only for known modules", "32784")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&Forget bus info", "32786")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&Scan bus", "32787")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Create &collision on bus", "32780")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&Resolve collisions", "32782")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&Measure", "32776")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "&About Terrix...", "57664")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Create a new document\nNew", "57600")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Open an existing document\nOpen", "57601")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Save the active document\nSave", "57603")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix", "Save the active document with a new name\nSave As", "57604")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Print the active document\nPrint", "57607")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Display full pages\nPrint Preview", "57609")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix", "Change the printer and printing options\nPrint Setup", "57606")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix", "Quit the application; prompts to save documents\nExit", "57665")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Undo the last action\nUndo", "57643")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix", "Cut the selection and put it on the Clipboard\nCut", "57635")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix", "Copy the selection and put it on the Clipboard\nCopy", "57634")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Insert Clipboard contents\nPaste", "57637")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Show or hide the toolbar\nToggle ToolBar", "59392")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix", "Show or hide the status bar\nToggle StatusBar", "59393")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix", "Display program information, version number and copyright\nAbout",
                        "57664")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Switch the user interface to German\nGerman", "32777")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix", "Switch the user interface to English\nEnglish", "32778")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Insert a chart\nInsert chart", "32771")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Use serial port COM1 for the NKP-Bus\nCOM1", "32819")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Use serial port COM2 for the NKP-Bus\nCOM2", "32820")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Use serial port COM3 for the NKP-Bus\nCOM3", "32821")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Use serial port COM4 for the NKP-Bus\nCOM4", "32824")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Lists all found modules", "32775")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix", "Scan the whole bus for modules\nScan completely", "32773")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix", "Scan the bus for the known modules only\nScan for known modules",
                        "32784")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Forget all module info", "32786")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Scan the bus for modules\nScan bus", "32787")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix", "Give every known module the same station number\nCreate collision",
                        "32780")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix", "Resolve the address collisions on the bus\nResolve collisions", "32782")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Measure\nMeasure", "32776")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Ready", "57345")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "hh:mm:ss", "101")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix", "Terrix\n\nTerrix\n\n\nTerrix.Document\nTerrix Document", "128")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "About Terrix", "100")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Display measuring values", "32783")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Edit user info", "32788")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "(De-)activate module", "32789")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Remove module", "32781")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Rescan module", "32774")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Change station number", "32779")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Recreate ASCII meas. data", "32805")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Change Reset Baudrate", "32806")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Change Limit for Error66 Activation", "32807")},
    {TextKind::Label, QT_TRANSLATE_NOOP3("Terrix", "Set active calibration", "32808")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix", "First measurement value\nFirst measurement value", "32792")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Scroll one page backwards\nOne page back", "32793")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix", "One measurement value backwards\nOne meas. value back", "32794")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix", "One measurement value forwards\nOne meas. value forw.", "32795")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix", "Scroll one page forewards\nOne page forewards", "32796")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix", "Last measurement value\nLast measurement value", "32797")},
    {TextKind::Prompt,
     QT_TRANSLATE_NOOP3("Terrix",
                        "Line chart w/o markers for meas. values\nLine chart w/o markers for meas. values",
                        "32798")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Plot\nPlot", "32801")},
    {TextKind::Prompt, QT_TRANSLATE_NOOP3("Terrix", "Samples Per Plot\nSamples Per Plot", "32803")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Number of first meas. value on plot", "32799")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Number of sampled meas. values", "32800")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Samples Per Plot", "32803")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Increments/decrements SPP value", "32804")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Keine Module gefunden.", "32790")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3(
         "Terrix",
         "Installation error. This application needs a newer version of the Qt libraries.\nIts "
         "version has to be at least %1.\n  Please install a newer version of these libraries.",
         "24577")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Activating already started application...", "24578")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix", "Could'nt activate already started application! Please do it yourself!",
                        "24579")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix", "Are you sure to create collisions on this NKP-Bus?", "24627")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix", "Please select a module before using this function!", "24637")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix", "This function is not valid for a module of that status!", "24638")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix", "This function is only valid for enabled modules!", "24639")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix", "Error accessing ComPort while setting station number!", "24640")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Error on setting station number!", "24641")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Opening COM port...", "24647")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Resynchronizing module...", "24648")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3(
         "Terrix",
         "No RS232 cable detected.\n  Please, check if this cable is connected to the PC\n  or "
         "if it is confirming to the NKP bus specification.",
         "24651")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3(
         "Terrix",
         "COM-Port no longer available (although having been available before).\nTo resolve the problem, "
         "please\n  check if meanwhile another program has been started that uses this COM port\n  check if "
         "RS232 cable is still connected to PC and central module\n  check if RS232 cable has been damaged\n",
         "24652")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3(
         "Terrix",
         "No answer from any module! Hints for resolving the problem:\n  Please, check for power on the "
         "measuring circuit (Power LED at PX-ROV4/PX-23R).\n  Please, check connection between the central "
         "module (PX-ROV4/PX-23R) and PC\n  (or if appropriate from Terrix module to PC).\n  Please, check "
         "the connections between the central module and its connected client ones.\n  If appropriate try to "
         "completely rescan the NKP-bus.",
         "24653")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3(
         "Terrix",
         "No Module were found at the bus; also earlier none were found. Therefore the module list is empty.",
         "24654")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Unable to open any COM ports.", "24655")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Not enough timers available for this window!", "24656")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Collisions are still available!", "24657")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix", "Are you sure to delete this measuring values?", "24667")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Are you sure to delete all measuring values?", "24668")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Failed to delete measuring values!", "24669")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix", "The module could not flawlessly be addressed!", "24671")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "No module selected!", "24707")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix", "This function is invalid for module of that status!", "24708")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix", "Are you sure to remove this module from the meas. circuit?", "24717")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix", "Please enter a serial number into the appropriated field!", "24727")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Serial number is already in list!", "24728")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Failed to insert serial number into list!", "24729")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Are you sure to delete the marked entry?", "24730")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Active", "24737")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Status", "24738")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Station", "24739")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Ser.#", "24740")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Module", "24741")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Place", "24742")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Conv. count", "24743")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Comv. time", "24744")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Last meas.", "24745")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Switch", "24746")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Meas. value", "24747")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Values", "24748")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Meas. values for Modul having Serial# %u", "24757")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Saving Binary Meas. Data to Disk", "24766")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix", "Please insert an empty floppy disk into drive a:\nand then press [OK].\n",
                        "24767")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "stop", "24777")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix", "Successfully converted binary Meas. Data to ASCII.", "24786")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix", "Error(s) detected while converting Meas. Data from binary to ASCII!",
                        "24787")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix",
                        "Couldn't find any COM ports.\n  Either all ports are yet in use or your PC does not "
                        "have any COM ports.",
                        "5000")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Unknown error", "5199")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Data block not received in time", "5201")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Fatal internal error which init. the module", "5202")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Check sum error in data block", "5203")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "V24 error (framing, parity or overflow)", "5204")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Reserved", "5205")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Command is not implemented on module", "5206")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Parameters in data block invalid", "5207")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix", "Command cannot be executed 'cos module is already busy", "5208")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Module does not answer", "5209")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Received incomplete addr block", "5210")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix", "Checksum error in received addr block (collison found?)", "5211")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "No data received", "5212")},
    {TextKind::String, QT_TRANSLATE_NOOP3("Terrix", "Received incomplete data block", "5213")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3("Terrix",
                        "No TDR impulses.\nPossible reasons: Probe not connected or probe cable damaged, TDR "
                        "compensation cable longer than probe cable, or DAV-IRUZ damaged",
                        "5530")},
    {TextKind::String,
     QT_TRANSLATE_NOOP3(
         "Terrix",
         "Meas. value too low.\nPossible reasons: Probe out-of material or material too dry or "
         "wrong minimum value",
         "5566")},
};

constexpr int TextNumber(const char* id) {
    int n = 0;
    for (const char* p = id; *p != '\0'; ++p) {
        n = n * 10 + (*p - '0');
    }
    return n;
}

// The index of the text in kNumberedTexts, or -1.
constexpr int NumberedTextIndex(TextKind kind, int number) {
    int index = 0;
    for (const NumberedText& entry : kNumberedTexts) {
        if (entry.kind == kind && TextNumber(entry.text.id) == number) {
            return index;
        }
        ++index;
    }
    return -1;
}

// A number checked against the list while compiling: Text(24708) compiles only when 24708 is a string.
template <TextKind kKind> struct ListedNumber {
    consteval ListedNumber(int n) : number(n) { // NOLINT(google-explicit-constructor): Text(24707)
        if (NumberedTextIndex(kKind, n) < 0) {
            throw "this number has no text of this kind in the catalogue";
        }
    }
    int number;
};

// The text in the current language.
QString Text(ListedNumber<TextKind::String> number);
QString MenuText(ListedNumber<TextKind::Label> commandId);
QString PromptText(ListedNumber<TextKind::Prompt> commandId);

// The popups of the main menu, in menu order.
enum class MenuPopup { File, Edit, View, Language, Misc, Bus, SerialComport, Maintenance, Help };
QString PopupTitle(MenuPopup popup);

// For numbers known only at run time (a command id from a table, 5200 + a bus error code): the text, or a
// null string when the list has no such text.
QString FindText(TextKind kind, int number);

std::span<const NumberedText> NumberedTexts();

// The translation of one entry in the current language.
QString TranslatedText(const NumberedText& entry);

} // namespace terrix
