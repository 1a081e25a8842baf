// Compiled with -fexec-charset=CP932: the generated comments are readable
// UTF-8 here and code page 932 bytes in the program.
#include "codegen/classic/transform.h"

namespace {

#define BUFFER_COMMENT "\t//BUFF_SIZEが巨大でローカル変数として取れないときは\n"
#define CALLOC_BUFFER2 "\t// buffer2=(complex *)calloc(BUFF_SIZE,sizeof(complex));として動的にメモリを確保してください。\n"
#define COMPLEX_PARAMS "(complex *pDestination, complex *pSource, complex *pSinCosTable) {\n"

const TransformTemplate kTemplates[] = {
    {"void IFFT",
     COMPLEX_PARAMS,
     {"\tcomplex  *pTmp1, *pTmp2, buffer1[BUFF_SIZE], buffer2[BUFF_SIZE];\n", BUFFER_COMMENT,
      "\t// buffer1=(complex *)calloc(BUFF_SIZE,sizeof(complex));\n", CALLOC_BUFFER2, "\tcomplex *b;\n",
      "\tlong i, k, N;\n"},
     ".re += _COMPLEX_MULTIPLY_RE(pTmp2, b);\n",
     ".im += _COMPLEX_MULTIPLY_IM(pTmp2, b);\n",
     ".re += _COMPLEX_MULTIPLY_RE(pTmp2, pTmp1);\n",
     ".im += _COMPLEX_MULTIPLY_IM(pTmp2, pTmp1);\n",
     {"\tfor(i=0; i<N; i++) {\n", "\t\tpDestination[i].re/=(double)N;\n", "\t\tpDestination[i].im/=(double)N;\n",
      "\t}\n\n"}},
    {"void Real_FFT",
     "(complex *pDestination, double *pSource, complex *pSinCosTable) {\n",
     {"\tcomplex  *pTmp1, *pTmp2, buffer1[BUFF_SIZE], buffer2[BUFF_SIZE];\n", BUFFER_COMMENT,
      "\t// buffer1=(complex *)calloc(BUFF_SIZE,sizeof(complex));\n", CALLOC_BUFFER2,
      "\tdouble *b;\n\tlong i, k, N;\n", ""},
     ".re += (*b)*(pTmp2->re);\n",
     ".im += (*b)*(pTmp2->im);\n",
     ".re += COMPLEX_MULTIPLY_RE(pTmp1, pTmp2);\n",
     ".im += COMPLEX_MULTIPLY_IM(pTmp1, pTmp2);\n",
     {}},
    {"void Complex_FFT",
     COMPLEX_PARAMS,
     {"\tcomplex *pTmp1, *pTmp2, buffer1[BUFF_SIZE], buffer2[BUFF_SIZE];\n", BUFFER_COMMENT,
      "\t//\tbuffer1=(complex *)calloc(BUFF_SIZE,sizeof(complex));\n", CALLOC_BUFFER2, "\tcomplex *b;\n",
      "\tlong i, k, N;\n"},
     ".re += COMPLEX_MULTIPLY_RE(pTmp2, b);\n",
     ".im += COMPLEX_MULTIPLY_IM(pTmp2, b);\n",
     ".re += COMPLEX_MULTIPLY_RE(pTmp2, pTmp1);\n",
     ".im += COMPLEX_MULTIPLY_IM(pTmp2, pTmp1);\n",
     {}},
};

}  // namespace

const TransformTemplate& transformTemplate(TransformKind kind) { return kTemplates[int(kind)]; }
