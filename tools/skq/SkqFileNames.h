#pragma once

#include <set>
#include <string>
#include <string_view>

// Names of the files and folders the authors' tool makes, which every system takes.
namespace skq {

// Names Windows keeps for devices (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9), in any
// letter case and with any extension ("lpt1.txt").
bool IsReservedName(std::string_view name);
// The name with "_" after a reserved part before its first dot ("CON" gives "CON_", "LPT1.txt" "LPT1_.txt").
std::string WithoutReservedName(std::string name);

// A picture's name as a file beside an exported document: letters (Polish ones too), digits,
// "-" and "_", and a dot only before a picture's extension (.jpg, .gif, .bmp, .png); never a
// reserved name; "obrazek" when nothing is left.
std::string SafePictureFileName(std::string_view name);

// The names used in one folder, letter case ignored, as systems that ignore it see them.
class FolderNames {
public:
    // False when the name, or one that differs only in letter case, is taken already.
    bool Take(std::string_view utf8);

private:
    std::set<std::u16string> taken_;
};

} // namespace skq
