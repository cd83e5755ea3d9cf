// Built into each program on its own, so that the tests' programs can name a local server.
#include "update/Site.h"

#ifndef QUENLAR_SITE
#error "QUENLAR_SITE names the product web site's base address; the build defines it"
#endif

namespace update {

const char* const kSiteBase = QUENLAR_SITE;

}  // namespace update
