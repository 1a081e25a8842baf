// Compiled with -fexec-charset=CP932: the comments of the generated file are
// readable UTF-8 here and code page 932 bytes in the program.
#include "codegen/classic/preamble.h"

const char headerLines[kHeaderSlots][200] = {
    "#include <math.h>\n",
    "#include <malloc.h> //動的にメモリを確保する必要がある場合は、インクルードしてください。\n",
    "#define pi 3.14159265358979\n",
    "#define COMPLEX_MULTIPLY_RE(p_Z,p_W) ((p_Z)->re)*((p_W)->re)-((p_Z)->im)*((p_W)->im)\n",
    "#define COMPLEX_MULTIPLY_IM(p_Z,p_W) ((p_Z)->im)*((p_W)->re)+((p_Z)->re)*((p_W)->im)\n",
    "#define _COMPLEX_MULTIPLY_RE(p_Z,p_W) ((p_Z)->re)*((p_W)->re)+((p_Z)->im)*((p_W)->im)\n",
    "#define _COMPLEX_MULTIPLY_IM(p_Z,p_W) ((p_Z)->re)*((p_W)->im)-((p_Z)->im)*((p_W)->re)\n",
};

const char complexStructLines[kComplexStructSlots][200] = {
    "//複素数構造体\n",
    "typedef struct {\n",
    "\tdouble re,im;\n",
    "} complex;\n\n",
};

const char revolverLines[kRevolverSlots][60] = {
    "//作業用テーブルexp(-2.0*pi*√-1*k*n/N)を作成\n",
    "void revolver(long N, complex *pSinCosTable)\n",
    "{\n",
    "\tlong i;\n",
    "\tfor(i=0; i<N; i++) {\n",
    "\t\t(pSinCosTable+i)->re=cos(2.0*pi*(double)i/(double)N);\n",
    "\t\t(pSinCosTable+i)->im=-sin(2.0*pi*(double)i/(double)N);\n",
    "\t}\n}\n\n",
};
