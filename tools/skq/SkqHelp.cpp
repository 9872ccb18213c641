// The help texts of ludra-skq.
#include "tools/skq/SkqTool.h"
#include "tools/skq/i18n/Translation.h"

#include <array>
#include <ostream>

namespace skq {

namespace {

struct CommandHelp {
    std::string_view Name;
    const char* Summary; // one line for the overview, untranslated
    const char* Text;    // usage, description and an example, untranslated
};

constexpr std::array<CommandHelp, 13> kCommands = {{
    {"show", TrLater("load a question file as the program does and print it as JSON"),
     TrLater(R"(Usage: ludra-skq show FILE.skq [--seed N]

Loads the question exactly as the program does and prints one JSON object:
ok, question (null when the load failed), journal (every journal record the
loader wrote) and messages (every message box text; "\r" is a line break).
picture and attached_text are null when the load put nothing there.

  --seed N   seed the random generator first, so the answer order repeats

Example:
  ludra-skq show Zestawy/Fizyka/pytanie01.skq --seed 7
)")},
    {"ls", TrLater("list the entries of an archive"), TrLater(R"(Usage: ludra-skq ls FILE

Prints the directory of any archive (question file or set list) as JSON:
ok (the program can read the archive), magic (the file starts with "PACK";
a zero-byte file reads as an empty archive without it) and the entries with
name, offset and size.

Example:
  ludra-skq ls Zestawy/Lista.skz
)")},
    {"list", TrLater("read a set list file as the program does, or build one from a folder tree"),
     TrLater(R"(Usage: ludra-skq list LISTFILE
       ludra-skq list build ROOT OUT [--force]

Reads the set list through the program's loader and prints ok, the header
(name, dtu, uwg), the entry lines, the journal records and the message box
texts as JSON.

"list build" writes the set list OUT from the folders under ROOT: a folder
holding question files becomes a set, a folder above sets a category, other
folders are left out; the order is by name, letter case ignored. A name is
the folder's name, or the first line of a "tytul.txt" in the folder (UTF-8).
The list itself takes ROOT's name. OUT must lie in ROOT or a folder above it,
so the sets' folders are found from it. An existing OUT is replaced only with
--force.

Example:
  ludra-skq list Zestawy/Lista.skz
  ludra-skq list build Zestawy Zestawy/Lista.skz
)")},
    {"check", TrLater("check question files, set folders and set lists before handing them out"),
     TrLater(R"(Usage: ludra-skq check PATH... [--strict]

Each PATH is a question file, a folder of question files (found as the program
finds them: every file whose name holds ".skq") or a set list file (an archive
holding Selz0.xml or Selz0.txp), whose set folders are then checked as the
program resolves them. One line per file or folder:
  PATH: ok
  PATH: damaged: <what the program reports>
  PATH: missing
then, for what the program loads but a learner can't use, one line per cause:
  PATH: warning: <cause>
A warning names a key (odp) that doesn't fit the answers or marks no answer
right, several right answers in a one-answer question (typ 0), a picture or
attached text missing from the file or of a kind the program doesn't show, an
empty question or answer, text that looks like UTF-8 in an 8-bit document
(garbled Polish letters), a character Windows-1250 lacks (shown as "?"), a
question, answer or hint surely longer than the screen shows, an unknown
element (a misspelt name), and in a set list a category without sets. The summary is "N checked: A ok, B damaged,
C missing", with "; W warnings" when there are any. A folder without question
files counts as damaged. Exit status 1 when anything is damaged or missing,
and with --strict also when there is a warning.

Example:
  ludra-skq check Zestawy/Lista.skz Nowe/Biologia
)")},
    {"pack", TrLater("build an archive from the files of a folder"),
     TrLater(R"(Usage: ludra-skq pack SRCDIR OUT [--encoded] [--utf16] [--legacy] [--force]

Builds the archive OUT from the regular files of SRCDIR (entry name = file
name, sorted by name; subfolders are left out). The options store a plain
Sezz0.xml of the folder in another form, read through the program's field
readers; the question document then comes first and any other Sezz0.xml or
Sezz0.txp of the folder is left out:
  --encoded  every field as base64 of UTF-16LE, with cd "tr"
  --utf16    the document as UTF-16LE with a byte order mark
  --legacy   the 3.5 layout: scrambled Sezz0.txp lines (four answers at most)
--encoded and --utf16 may be combined. OUT is written in one atomic replace
and an existing OUT is refused unless --force is given.

Sources saved in UTF-8 are converted, since the program reads only Windows-1250
and UTF-16. A Sezz0.xml with a UTF-8 byte order mark, or with non-ASCII bytes
that are valid UTF-8 or declared encoding="UTF-8", is read as UTF-8 and stored
as Windows-1250, or as UTF-16 when a field holds a character Windows-1250
lacks (a warning names it; the program shows it as "?"). The attached text the
question names (plr) is converted to Windows-1250 when it is UTF-8; a character
Windows-1250 lacks is an error naming it and its line. Bytes that are not valid
UTF-8 in a source read as UTF-8 are an error naming their offset and line; on
any error nothing is written. Other sources are stored as they are.

Example:
  ludra-skq pack pytanie01/ Zestawy/Fizyka/pytanie01.skq --encoded
)")},
    {"pack-set", TrLater("pack a whole set: a folder of question folders or question documents"),
     TrLater(R"(Usage: ludra-skq pack-set SRCDIR OUTDIR [--encoded] [--utf16] [--legacy] [--force] [--depfile FILE]

Packs every question of SRCDIR into OUTDIR in one step, as "pack" packs one:
  - a subfolder holding Sezz0.xml (or Sezz0.txp) with its files becomes
    OUTDIR/<subfolder>.skq;
  - a question document NAME.xml lying in SRCDIR becomes OUTDIR/NAME.skq,
    with the picture (plimg) and the attached text (plr) it names taken from
    SRCDIR.
UTF-8 sources are converted as "pack" converts them. The set asks its
questions in the order of their file names. A question that fails is named
with its reason and the others are still packed; the last line says how many
were packed, and the exit status is 1 when any failed. Existing files in
OUTDIR are refused unless --force is given. --depfile also writes FILE, a
Make rule (as Ninja reads it too) from the question files to every file the
pack read, so that a build repacks the set when one of them changes.

Example:
  ludra-skq pack-set zrodla/ulamki Zestawy/Ulamki
)")},
    {"import", TrLater("make a set from an Aiken, GIFT, Moodle XML or CSV file"),
     TrLater(R"(Usage: ludra-skq import FILE OUTDIR [--format aiken|gift|moodle|csv] [--list] [--force]

Reads the questions of FILE and writes them as question files into OUTDIR,
which then is a set the program opens. Categories (GIFT $CATEGORY, Moodle
category questions, the CSV category column; "/" nests them) become folders
under OUTDIR, each a set, and the categories of the set list. The format is
told from the content when --format is not given.

Multiple-choice questions with 3 to 5 answers are imported, with one or
several right answers. HTML texts become plain text; a picture (a file beside
FILE, or one embedded in Moodle XML) is stored with its question, a PNG
converted to BMP. Every other question (true/false, short answer, matching,
numerical, essay, cloze, fewer than 3 or more than 5 answers) is skipped with
a line naming it and the reason; the rest is still imported. The last line
says how many questions were imported and skipped.

FILE may be UTF-8 (with or without a byte order mark), UTF-16 with a byte
order mark, or Windows-1250.

  --list    also write the set list OUTDIR/Lista.skz (see "list build")
  --force   replace files an earlier import wrote

The CSV layout, one question per row (a first row of column names is
skipped; ";", "," or tab between cells):
  question;A;B;C;D;E;right;hint;picture;category
"right" holds the letters of the right answers, e.g. "B" or "A,C".

Example:
  ludra-skq import pytania.txt Zestawy/Ulamki --list
)")},
    {"export", TrLater("write a set as GIFT or Moodle XML for other platforms"),
     TrLater(R"(Usage: ludra-skq export SETDIR OUT --format gift|moodle [--force]

Writes the questions of the set folder SETDIR, read as the program reads
them, into OUT. SETDIR may also be a folder of sets or a set list file: every
set goes out, in categories named as the list names them. Moodle XML carries the pictures inside; for GIFT they are
written as files beside OUT, named with letters, digits, "-" and "_"
before their extension (a name that changes is noted). An attached text has
no place in either format and is left out with a note. A question file the
program can't run is left out with its reason. Importing OUT again gives the
same questions.

Example:
  ludra-skq export Zestawy/Ulamki ulamki.xml --format moodle
)")},
    {"unpack", TrLater("write the entries of an archive into a folder"),
     TrLater(R"(Usage: ludra-skq unpack FILE DIR [--decode] [--force]

Writes every entry of the archive FILE into DIR (created when missing). Of
entries whose names differ only in letter case, only the first is written, as
only it is read by the program. An entry whose name holds "/" or "\" or is
"." or ".." is refused and nothing is written. Existing files are refused
unless --force is given.
  --decode  write the question document the program reads (Sezz0.txp before
            Sezz0.xml) as a plain 8-bit Windows-1250 Sezz0.xml, which pack and
            the program read again; the 3.5 date line becomes dtu

Example:
  ludra-skq unpack pytanie01.skq pytanie01/ --decode
)")},
    {"scramble", TrLater("scramble lines from stdin"), TrLater(R"(Usage: ludra-skq scramble < PLAIN > SCRAMBLED

Scrambles each line of stdin (UTF-8) with the program's scrambler and writes
it as raw Windows-1250 bytes, the form stored in Sezz0.txp lines and settings
values. Lines end at CR LF, CR or LF; output lines end with LF.

Example:
  printf '3.5\n01.02.2024\n0\n3\n' | ludra-skq scramble > head.txp
)")},
    {"unscramble", TrLater("unscramble lines from stdin"), TrLater(R"(Usage: ludra-skq unscramble < SCRAMBLED > PLAIN

Unscrambles each line of stdin (raw Windows-1250 bytes, as in a Sezz0.txp)
and writes it as UTF-8. An empty line is no scrambled text: it is reported,
written as an empty line, and makes the exit status 1.

Example:
  ludra-skq unpack old.skq old/ && ludra-skq unscramble < old/Sezz0.txp
)")},
    {"config", TrLater("show or change the learner's settings file"),
     TrLater(R"(Usage: ludra-skq config show [--file PATH]
       ludra-skq config get KEY [--file PATH]
       ludra-skq config set KEY VALUE [--file PATH]

Reads and changes the settings file through the program's settings code,
values in plain text. Without --file, the learner's own file:
$XDG_CONFIG_HOME/Tarvix/Orvel/Ludra/Ludra.ini. The keys:
  ed    the header, always Ludra (can't be set)
  sct   full path of the set list file (empty: the bundled list)
  al    ask before abandoning an unfinished set (1/0, yes/no)
  rq    ask the wrongly answered questions again (1/0, yes/no)
  rr    reload the text and picture for every question (1/0, yes/no)
  voi   play sounds (1/0, yes/no)
  wo    window mode: 0 rounded window, 1 whole work area
  dfpz  journal level, 0 to 4
  zpo   keep the text and picture windows as the learner left them (1/0)
  kzp   Enter and Escape close the summary and information window (1/0)
al, rq, rr, voi, zpo and kzp are also in the program's Ustawienia window; a
missing zpo or kzp reads as 0. set creates a missing
file with the defaults first and refuses a file that the program would
replace with defaults. show and get print the file's problems on stderr and
then exit with status 1.

Example:
  ludra-skq config set rq yes
)")},
    {"help", TrLater("show help for a command"), TrLater(R"(Usage: ludra-skq help [COMMAND]
       ludra-skq COMMAND --help

Example:
  ludra-skq help pack
)")},
}};

} // namespace

void PrintOverview(std::ostream& out) {
    out << Tr("Usage: ludra-skq COMMAND [ARGUMENTS]\n"
              "       ludra-skq --help | --version\n\n"
              "The command-line tool for authors and administrators of question sets; it reads\n"
              "files with the same code as the program. Output is UTF-8.\n\n"
              "Commands:\n");
    for (const CommandHelp& command : kCommands) {
        out << "  " << command.Name;
        for (std::size_t pad = command.Name.size(); pad < 12; ++pad)
            out << ' ';
        out << Tr(command.Summary) << '\n';
    }
    out << Tr("\nExit status: 0 success, 1 a file failed (the program would refuse it), 2 usage error.\n"
              "\nExample:\n  ludra-skq check Zestawy/Lista.skz\n"
              "\nRun \"ludra-skq help COMMAND\" for the arguments and an example of each command.\n");
}

bool PrintCommandHelp(std::string_view command, std::ostream& out) {
    for (const CommandHelp& help : kCommands) {
        if (help.Name == command) {
            out << Tr(help.Text);
            return true;
        }
    }
    return false;
}

int RunHelp(const Arguments& arguments, Io& io) {
    RequirePositional(arguments, 0, 1);
    if (arguments.Positional.empty()) {
        PrintOverview(io.Out);
        return kExitOk;
    }
    if (!PrintCommandHelp(arguments.Positional[0], io.Out))
        throw UsageError(Format(Tr("no command {1}"), arguments.Positional[0]));
    return kExitOk;
}

} // namespace skq
