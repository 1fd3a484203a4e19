/* Stands in for musl's own <features.h> while its math sources are built here: the library's
   internal names, renamed so that nothing clashes with the platform's C library, which is
   linked into the same modules. The platform's own <features.h>, where there is one (glibc's
   headers include it), is still read. */
#ifndef BREL_MUSL_FEATURES_H
#define BREL_MUSL_FEATURES_H

#if defined(__has_include_next)
#if __has_include_next(<features.h>)
#include_next <features.h>
#endif
#endif

/* musl marks its internal tables and helpers hidden; the library is built with hidden visibility
   as a whole, so the mark can go. */
#define hidden

#define __exp_data brel_musl_exp_data
#define __log_data brel_musl_log_data
#define __pow_log_data brel_musl_pow_log_data

#endif
