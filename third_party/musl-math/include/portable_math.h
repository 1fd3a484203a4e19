/* The elementary functions every module calls on its audio path, compiled from the same C source
   on every platform (musl's, src/ beside this file), so the same argument gives the same bits on
   any x86-64 machine, whichever C library and CPU maker is underneath. */
#ifndef BREL_PORTABLE_MATH_H
#define BREL_PORTABLE_MATH_H

#ifdef __cplusplus
extern "C" {
#endif

double brel_exp(double x);
double brel_log(double x);
double brel_pow(double x, double y);

#ifdef __cplusplus
}
#endif

#endif
