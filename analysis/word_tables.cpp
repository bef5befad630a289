#include "analysis/word_tables.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/cp1252.h"

namespace tarn::words {
namespace {

// Each table ends with an empty string.
const char* const kBuiltInWords[] = {
    "ABS", "ACCEPTED", "ACOS", "ADD", "ADDRESS", "AGE", "ALERT", "ALIAS", "ALL", "APPEND", "ARC",
    "ASIN", "ASK", "ATAN", "BAND", "BEEP", "BIND", "BOF", "BOR", "BSHIFT", "BUILD", "BUFFER",
    "BXOR", "BYTES", "CALL", "CENTER", "CHAIN", "CHANGE", "CHOICE", "CHOOSE", "CHORD", "CHR",
    "CLEAR", "CLIP", "CLIPBOARD", "CLOCK", "CLOSE", "COL", "COLORDIALOG", "COMMAND", "COMMIT",
    "CONTENTS", "CONVERTANSITOOEM", "CONVERTOEMTOANSI", "COPY", "COS", "CREATE", "DAY",
    "DEFORMAT", "DELETE", "DESTROY", "DEVICE", "DIRECTORY", "DISABLE", "DISPLAY", "DUPLICATE",
    "EMPTY", "ENDPAGE", "EOF", "ERASE", "ERROR", "ERRORCODE", "ERRORFILE", "EVALUATE", "EVENT",
    "FIELD", "FILEDIALOG", "FILEERROR", "FILEERRORCODE", "FIRSTFIELD", "FLUSH", "FOCUS",
    "FONTDIALOG", "FORMAT", "FREE", "GET", "GETINI", "GETFONT", "GETPOSITION", "HALT", "HELP",
    "HOLD", "IDLE", "IN", "INCOMPLETE", "INDEX", "INLIST", "INRANGE", "INSTRING", "INT",
    "ISALPHA", "ISLOWER", "ISUPPER", "KEYBOARD", "KEYCHAR", "KEYCODE", "KEYSTATE", "LASTFIELD",
    "LEFT", "LEN", "LOCALE", "LOCK", "LOCKTHREAD", "LOG10", "LOGE", "LOGOUT", "LOWER",
    "MAXIMUM", "MESSAGE", "MONTH", "MOUSEX", "MOUSEY", "NEXT", "NUMERIC", "OMITTED", "OPEN",
    "OUT", "PAGENO", "PATH", "PEEK", "PENCOLOR", "PENSTYLE", "PENWIDTH", "PIE", "POINTER",
    "POKE", "POLYGON", "POPBIND", "POPUP", "POST", "PROC", "PRESS", "PRESSKEY", "PREVIOUS",
    "PRINT", "PRINTERDIALOG", "PROJECT", "PUSHBIND", "PUT", "PUTINI", "RANDOM", "RAW",
    "READONLY", "RECORDS", "REGET", "REJECTCODE", "RELEASE", "REMOVE", "RENAME", "RESET",
    "RESIZE", "RIGHT", "ROLLBACK", "ROUND", "ROUNDBOX", "RUN", "RUNCODE", "SELECT", "SELECTED",
    "SEND", "SET3DLOOK", "SET", "SETCLOCK", "SETCURSOR", "SETCOMMAND", "SETCLIPBOARD",
    "SETDROPID", "SETFONT", "SETKEYCODE", "SETNONULL", "SETNULL", "SETPATH", "SETPENCOLOR",
    "SETPENSTYLE", "SETPENWIDTH", "SETPOSITION", "SETPROPERTY", "SETTARGET", "SETTODAY",
    "SHARE", "SHOW", "SHUTDOWN", "SIN", "SIZE", "SKIP", "SORT", "SQRT", "START", "STATUS", "STOP",
    "STREAM", "SUB", "SYSTEM", "TAN", "THREADLOCKED", "TODAY", "TYPE", "UNBIND", "UNHIDE",
    "UNLOCK", "UNLOCKTHREAD", "UPDATE", "UPPER", "VAL", "YEAR", "YIELD", ""};

const char* const kDirectiveWords[] = {"COMPILE", "EJECT",   "EMBED", "ENDEMBED", "OMIT",
                                       "SECTION", "SUBTITLE", "TITLE", ""};

const char* const kKeywordWords[] = {
    // statements
    "ACCEPT", "AND", "BEGIN", "BREAK", "BY", "CASE", "CODE", "CYCLE", "DISPOSE", "DO", "ELSE",
    "ELSIF", "END", "EQUATE", "EXECUTE", "EXIT", "FUNCTION", "GOTO", "IF", "INCLUDE", "JOIN",
    "LOOP", "MAP", "MEMBER", "MODULE", "NEW", "NOT", "OF", "OR", "OROF", "PROCEDURE", "PROGRAM",
    "RECORD", "RETURN", "ROUTINE", "ROW", "THEN", "TIMES", "TO", "UNTIL", "WHILE", "XOR",
    // controls
    "BOX", "BUTTON", "CHECK", "COMBO", "CUSTOM", "ELLIPSE", "ENTRY", "IMAGE", "LINE", "LIST",
    "OLE", "OPTION", "PANEL", "PROGRESS", "PROMPT", "RADIO", "REGION", "SHEET", "SPIN", "TAB",
    "TEXT", "VBX",
    // structures (ITEMIZE and INTERFACE are today's Clarion)
    "APPLICATION", "CLASS", "DETAIL", "FILE", "FORM", "FOOTER", "GROUP", "HEADER", "JOIN", "MAP",
    "MENU", "MENUBAR", "OPTION", "QUEUE", "RECORD", "REPORT", "SHEET", "TABLE", "TOOLBAR", "VIEW",
    "TAB", "WINDOW", "ITEMIZE", "INTERFACE",
    // data types
    "FLOAT4", "BFLOAT4", "BFLOAT8", "BLOB", "BOOL", "BYTE", "CSTRING", "DATE", "DECIMAL",
    "DOUBLE", "LONG", "PDECIMAL", "PSTRING", "STRING", "REAL", "SHORT", "SIGNED", "SREAL", "TIME",
    "ULONG", "UNSIGNED", "USHORT", "_PROC",
    // attributes
    "ABOVE", "ABSOLUTE", "ALONE", "ALRT", "ANGLE", "AT", "AUTO", "AUTOSIZE", "AVE", "BELOW",
    "BEVEL", "BINARY", "BINDABLE", "BITMAP", "BLANK", "BOXED", "C", "CAP", "CLASS", "CNT",
    "COLOR", "COLUMN", "COMPATIBILITY", "CURSOR", "DEFAULT", "DIM", "DLL", "DOCUMENT", "DOWN",
    "DRAGID", "DRIVER", "DROP", "DROPID", "DUP", "ENABLE", "ENCRYPT", "EXPAND", "EXTERNAL",
    "FILL", "FILTER", "FIRST", "FIX", "FIXED", "FONT", "FROM", "FULL", "GRAY", "GRID", "HIDE",
    "HLP", "HSCROLL", "HVSCROLL", "ICON", "ICONIZE", "IMM", "INS", "KEY", "LANDSCAPE", "LAST",
    "LENGTH", "LFT", "LIKE", "LINEWIDTH", "LINK", "LOCATE", "MARK", "MASK", "MAX", "MAXIMIZE",
    "MDI", "MEMO", "META", "MIN", "MM", "MODAL", "MSG", "NAME", "NOBAR", "NOCASE", "NOFRAME",
    "NOMEMO", "NOMERGE", "NOSHEET", "NOTIFY", "NULL", "OEM", "OPT", "ORDER", "OVER", "OVR",
    "OWNER", "PACK", "PAGE", "PAGEAFTER", "PAGEBEFORE", "PALETTE", "PAPER", "PASCAL",
    "PASSWORD", "POINTS", "POSITION", "PRE", "PREVIEW", "PRINTER", "PRIMARY", "PRIVATE", "RANGE",
    "RECLAIM", "REQ", "SCROLL", "SINGLE", "SPREAD", "STATIC", "STD", "STEP", "STRETCH", "SUM",
    "SUPPRESS", "TALLY", "TARGET", "THOUS", "THREAD", "TIMER", "TIP", "TOOLBOX", "TRN", "UP",
    "UPR", "USE", "VALUE", "VCR", "VIRTUAL", "VSCROLL", "WATCH", "WIDTH", "WITHNEXT",
    "WITHPRIOR", "WIZARD", "WRAP", "ZOOM", ""};

const char* const kEquateWords[] = {
    "BUTTON:", "COLOR:",   "CREATE:",   "CURSOR:",     "EVENT:",  "FALSE",    "FONT:",
    "ICON:",   "PEN:",     "PROP:",     "STD:",        "TRUE",    "VBXEVENT:", "BEEP:",
    "DDE:",    "WARN:",    "PROPPRINT:", "PAPER:",     "PAPERBIN:", "RESOLUTION:", "DUPLEX:",
    "FONTMODE:", "PROPLIST:", "REJECT:", "LISTZONE:", "FF_",     ""};

const char* const kStructureWords[] = {
    "APPLICATION", "CLASS", "DETAIL", "FILE",  "FORM",    "FOOTER", "GROUP",   "HEADER",
    "JOIN",        "MAP",   "MENU",   "MENUBAR", "MODULE", "OPTION", "QUEUE",  "RECORD",
    "REPORT",      "SHEET", "TABLE",  "TOOLBAR", "VIEW",  "TAB",    "WINDOW",  "ITEMIZE",
    "INTERFACE",   ""};

constexpr int kPositions = 11;

struct Tables {
  std::array<std::vector<std::string_view>, kPositions> sorted;
  /// The four classifying tables in one sorted index; no word stands in two
  /// of them, so one search answers what searching them in order would.
  std::vector<std::pair<std::string_view, TokenClass>> classes;
  std::size_t longest = 0;
};

// Every entry is upper case, so sorting by bytes and searching with the word
// upper-cased once is the same as comparing both sides without regard to case.

/// The word upper-cased into `buffer`; false when it is longer than the lookup buffer.
bool upperInto(std::string_view word, std::array<char, kMaxLookupLength + 1>& buffer,
               std::string_view& out) {
  if (word.empty() || word.size() > kMaxLookupLength) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    buffer[i] = static_cast<char>(cp1252::toUpper(static_cast<unsigned char>(word[i])));
  out = std::string_view(buffer.data(), word.size());
  return true;
}

Tables build() {
  Tables t;
  const std::pair<int, const char* const*> attached[] = {
      {kBuiltIns, kBuiltInWords}, {kDirectives, kDirectiveWords}, {kKeywords, kKeywordWords},
      {kEquates, kEquateWords},   {kStructures, kStructureWords}};
  for (auto [position, words] : attached) {
    auto& entries = t.sorted[position];
    for (const char* const* w = words; **w; ++w) entries.emplace_back(*w);
    std::sort(entries.begin(), entries.end());
    if (position == kStructures) continue;
    for (std::string_view w : entries) {
      t.classes.emplace_back(w, static_cast<TokenClass>(position));
      t.longest = std::max(t.longest, w.size());
    }
  }
  std::sort(t.classes.begin(), t.classes.end());
  return t;
}

const Tables& tables() {
  static const Tables t = build();
  return t;
}

bool contains(const std::vector<std::string_view>& entries, std::string_view upperWord) {
  return std::binary_search(entries.begin(), entries.end(), upperWord);
}

}  // namespace

void prepare() { tables(); }

std::span<const std::string_view> table(int position) {
  if (position < 0 || position >= kPositions) return {};
  return tables().sorted[position];
}

std::optional<TokenClass> classify(std::string_view word) {
  const Tables& t = tables();
  if (word.size() > t.longest) return std::nullopt;
  std::array<char, kMaxLookupLength + 1> buffer;
  std::string_view upper;
  if (!upperInto(word, buffer, upper)) return std::nullopt;
  auto it = std::lower_bound(t.classes.begin(), t.classes.end(), upper,
                             [](const auto& entry, std::string_view w) { return entry.first < w; });
  if (it == t.classes.end() || it->first != upper) return std::nullopt;
  return it->second;
}

bool isStructureWord(std::string_view word) {
  std::array<char, kMaxLookupLength + 1> buffer;
  std::string_view upper;
  return upperInto(word, buffer, upper) && contains(tables().sorted[kStructures], upper);
}

}  // namespace tarn::words
