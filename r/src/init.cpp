// The package's entry points, registered so that R finds them by symbol.
#include <R.h>
#include <R_ext/Rdynload.h>
#include <Rinternals.h>

extern "C" {
SEXP dc_compare(SEXP, SEXP, SEXP, SEXP, SEXP, SEXP, SEXP);
SEXP dc_write_matrices(SEXP, SEXP, SEXP);
SEXP dc_read_files(SEXP, SEXP, SEXP);
SEXP dc_detect_format(SEXP);
SEXP dc_tanglegram(SEXP, SEXP, SEXP, SEXP);
SEXP dc_bk(SEXP, SEXP);
SEXP dc_correlations(SEXP);

static const R_CallMethodDef kCallMethods[] = {
    {"dc_compare", (DL_FUNC)&dc_compare, 7},
    {"dc_write_matrices", (DL_FUNC)&dc_write_matrices, 3},
    {"dc_read_files", (DL_FUNC)&dc_read_files, 3},
    {"dc_detect_format", (DL_FUNC)&dc_detect_format, 1},
    {"dc_tanglegram", (DL_FUNC)&dc_tanglegram, 4},
    {"dc_bk", (DL_FUNC)&dc_bk, 2},
    {"dc_correlations", (DL_FUNC)&dc_correlations, 1},
    {nullptr, nullptr, 0}};

void R_init_dendrocompare(DllInfo* info) {
  R_registerRoutines(info, nullptr, kCallMethods, nullptr, nullptr);
  R_useDynamicSymbols(info, FALSE);
}
}
