// Renaming the identifiers of generated C after it is written, token by
// token. The templates are written with one set of names (complex,
// revolver, the kv_ and KV_ internals); a file's own names, per length and
// with a user's prefix, come from this one pass, so that no template has to
// know them and a name can never be half renamed. Comments, string and
// character literals, numbers, header names after #include and the text of
// #error and #warning are left as they are: only what the compiler takes for
// an identifier is renamed.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

struct RenamingRules {
    std::set<std::string> kept;                                  // never renamed
    std::map<std::string, std::string> names;                    // whole identifiers
    std::vector<std::pair<std::string, std::string>> prefixes;  // the first that begins the identifier is replaced
};

// c with every identifier renamed by rules: kept first, then names, then
// the first matching prefix; an identifier is renamed at most once.
std::string renameIdentifiers(const std::string& c, const RenamingRules& rules);
