// The one way the fast style fills in its C templates. A placeholder is
// @{name}: the at sign has no place in the C the style writes, so a
// template cannot mistake code for a placeholder or a placeholder for code,
// and a word such as REALLY is never touched. Every placeholder needs a
// value and every value a placeholder: a template and its caller that drift
// apart fail at once instead of writing a subtly wrong file.
#pragma once

#include <map>
#include <string>

// Values by placeholder name.
using TextValues = std::map<std::string, std::string>;

// tmpl with every @{name} replaced by values.at(name); values go in as they
// are, never scanned again. Throws std::logic_error, naming the template
// (what) and the placeholder, on a name without a value, a value whose name
// does not occur, an @ that does not open a placeholder, and a placeholder
// without its closing brace or with a name that is not an identifier.
std::string expandTemplate(const char* what, const std::string& tmpl, const TextValues& values);
