#pragma once

// Who wrote the program: named in the info box, the main window's status bar and the links window.
namespace author {
constexpr char Name[] = "Jonas Feldkamp";
constexpr char ShortName[] = "J. Feldkamp";
constexpr char EMail[] = "jonas.feldkamp@example.org";
} // namespace author
