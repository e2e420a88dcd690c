// What both systems' file layers share: the names of a save's temporary files.
#include "nativefile.h"

namespace quorvela::native {

Path temporaryPrefix(const Path &target)
{
    Path::string_type name(1, Path::value_type('.'));
    name += target.filename().native();
    name += Path::value_type('.');
    return name;
}

bool isTemporaryOf(const Path &name, const Path &target)
{
    const Path::string_type prefix = temporaryPrefix(target).native();
    const Path::string_type candidate = name.filename().native();
    return candidate.size() == prefix.size() + kTemporarySuffix &&
           candidate.compare(0, prefix.size(), prefix) == 0;
}

} // namespace quorvela::native
