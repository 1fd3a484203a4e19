/* Stands in for musl's internal "libm.h" (src/internal/libm.h of musl 1.2.3, MIT, see COPYRIGHT)
   for the few functions vendored here: the same helpers, cut to what those files use, and the
   public names mapped to ours (portable_math.h) once the platform's <math.h> is read. */
#ifndef BREL_MUSL_LIBM_H
#define BREL_MUSL_LIBM_H

#include <features.h>
#include <float.h>
#include <math.h>
#include <stdint.h>

/* The functions assume IEEE double arithmetic on doubles, never wider (no x87 excess precision),
   and no fused multiply-add: the build forbids both for every file of ours. */
#if FLT_EVAL_METHOD != 0
#error "the portable math needs double arithmetic evaluated in double (FLT_EVAL_METHOD 0)"
#endif
#if defined(__FP_FAST_FMA) && __FP_FAST_FMA
#error "the portable math must be built without fused multiply-add"
#endif

#define exp brel_exp
#define log brel_log
#define pow brel_pow
#define __math_xflow brel_musl_math_xflow
#define __math_oflow brel_musl_math_oflow
#define __math_uflow brel_musl_math_uflow
#define __math_divzero brel_musl_math_divzero
#define __math_invalid brel_musl_math_invalid

#include "portable_math.h"

/* Support non-nearest rounding mode.  */
#define WANT_ROUNDING 1
/* Support signaling NaNs.  */
#define WANT_SNAN 0
#define issignaling_inline(x) 0
#define TOINT_INTRINSICS 0

#ifdef __GNUC__
#define predict_true(x) __builtin_expect(!!(x), 1)
#define predict_false(x) __builtin_expect(x, 0)
#else
#define predict_true(x) (x)
#define predict_false(x) (x)
#endif

static inline double eval_as_double(double x)
{
	double y = x;
	return y;
}

static inline double fp_barrier(double x)
{
	volatile double y = x;
	return y;
}

static inline void fp_force_evalf(float x)
{
	volatile float y;
	y = x;
}

static inline void fp_force_eval(double x)
{
	volatile double y;
	y = x;
}

#define FORCE_EVAL(x) do {                        \
	if (sizeof(x) == sizeof(float)) {         \
		fp_force_evalf(x);                \
	} else {                                  \
		fp_force_eval(x);                 \
	}                                         \
} while(0)

#define asuint64(f) ((union{double _f; uint64_t _i;}){f})._i
#define asdouble(i) ((union{uint64_t _i; double _f;}){i})._f

double __math_xflow(uint32_t, double);
double __math_uflow(uint32_t);
double __math_oflow(uint32_t);
double __math_divzero(uint32_t);
double __math_invalid(double);

#endif
