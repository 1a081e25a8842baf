#include <math.h>
#include <malloc.h> //動的にメモリを確保する必要がある場合は、インクルードしてください。
#define pi 3.14159265358979
#define COMPLEX_MULTIPLY_RE(p_Z,p_W) ((p_Z)->re)*((p_W)->re)-((p_Z)->im)*((p_W)->im)
#define COMPLEX_MULTIPLY_IM(p_Z,p_W) ((p_Z)->im)*((p_W)->re)+((p_Z)->re)*((p_W)->im)
#define _COMPLEX_MULTIPLY_RE(p_Z,p_W) ((p_Z)->re)*((p_W)->re)+((p_Z)->im)*((p_W)->im)
#define _COMPLEX_MULTIPLY_IM(p_Z,p_W) ((p_Z)->re)*((p_W)->im)-((p_Z)->im)*((p_W)->re)
#define BUFF_SIZE 12

//複素数構造体
typedef struct {
	double re,im;
} complex;

//作業用テーブルexp(-2.0*pi*√-1*k*n/N)を作成
void revolver(long N, complex *pSinCosTable)
{
	long i;
	for(i=0; i<N; i++) {
		(pSinCosTable+i)->re=cos(2.0*pi*(double)i/(double)N);
		(pSinCosTable+i)->im=-sin(2.0*pi*(double)i/(double)N);
	}
}

void IFFT12(complex *pDestination, complex *pSource, complex *pSinCosTable) {
	complex  *pTmp1, *pTmp2, buffer1[BUFF_SIZE], buffer2[BUFF_SIZE];
	//BUFF_SIZEが巨大でローカル変数として取れないときは
	// buffer1=(complex *)calloc(BUFF_SIZE,sizeof(complex));
	// buffer2=(complex *)calloc(BUFF_SIZE,sizeof(complex));として動的にメモリを確保してください。
	complex *b;
	long i, k, N;
	long k0, k1, k2;
	long j0, j1, j2;
	long iBuffer;

	N=12;
	for(i=0; i<N; i++) {
		buffer1[i].re=0.0;
		buffer1[i].im=0.0;
	}
	i=0;
	for(k0=0; k0<3; k0++) {
		for(k=0; k<4; k++) {
			for(j2=0; j2<3; j2++) {
				b=pSource+4*j2+k;
				iBuffer=((k0)*j2*4);
				if(iBuffer >= N) {
					pTmp2=pSinCosTable+iBuffer%N;
				}
				else pTmp2=pSinCosTable+iBuffer;
				buffer1[i].re += _COMPLEX_MULTIPLY_RE(pTmp2, b);
				buffer1[i].im += _COMPLEX_MULTIPLY_IM(pTmp2, b);
			}
			i++;
		}
	}
	for(i=0; i<N; i++) {
		buffer2[i].re=0.0;
		buffer2[i].im=0.0;
	}
	i=0;
	for(k0=0; k0<3; k0++) {
		for(k1=0; k1<2; k1++) {
			for(k=0; k<2; k++) {
				for(j1=0; j1<2; j1++) {
					pTmp1=buffer1+4*k0+2*j1+k;
					pTmp2=pSinCosTable+((3*k1+k0)*j1*2);
					buffer2[i].re += _COMPLEX_MULTIPLY_RE(pTmp2, pTmp1);
					buffer2[i].im += _COMPLEX_MULTIPLY_IM(pTmp2, pTmp1);
				}
				i++;
			}
		}
	}
	for(i=0; i<N; i++) {
		(pDestination+i)->re=0.0;
		(pDestination+i)->im=0.0;
	}
	i=0;
	for(k2=0; k2<2; k2++) {
		for(k1=0; k1<2; k1++) {
			for(k0=0; k0<3; k0++) {
				for(j0=0; j0<2; j0++) {
					pTmp1=buffer2+4*k0+2*k1+j0;
					pTmp2=pSinCosTable+((6*k2+3*k1+k0)*j0);
					pDestination[i].re += _COMPLEX_MULTIPLY_RE(pTmp2, pTmp1);
					pDestination[i].im += _COMPLEX_MULTIPLY_IM(pTmp2, pTmp1);
				}
				i++;
			}
		}
	}
	for(i=0; i<N; i++) {
		pDestination[i].re/=(double)N;
		pDestination[i].im/=(double)N;
	}

}

void Real_FFT12(complex *pDestination, double *pSource, complex *pSinCosTable) {
	complex  *pTmp1, *pTmp2, buffer1[BUFF_SIZE], buffer2[BUFF_SIZE];
	//BUFF_SIZEが巨大でローカル変数として取れないときは
	// buffer1=(complex *)calloc(BUFF_SIZE,sizeof(complex));
	// buffer2=(complex *)calloc(BUFF_SIZE,sizeof(complex));として動的にメモリを確保してください。
	double *b;
	long i, k, N;
	long k0, k1, k2;
	long j0, j1, j2;
	long iBuffer;

	N=12;
	for(i=0; i<N; i++) {
		buffer1[i].re=0.0;
		buffer1[i].im=0.0;
	}
	i=0;
	for(k0=0; k0<3; k0++) {
		for(k=0; k<4; k++) {
			for(j2=0; j2<3; j2++) {
				b=pSource+4*j2+k;
				iBuffer=((k0)*j2*4);
				if(iBuffer >= N) {
					pTmp2=pSinCosTable+iBuffer%N;
				}
				else pTmp2=pSinCosTable+iBuffer;
				buffer1[i].re += (*b)*(pTmp2->re);
				buffer1[i].im += (*b)*(pTmp2->im);
			}
			i++;
		}
	}
	for(i=0; i<N; i++) {
		buffer2[i].re=0.0;
		buffer2[i].im=0.0;
	}
	i=0;
	for(k0=0; k0<3; k0++) {
		for(k1=0; k1<2; k1++) {
			for(k=0; k<2; k++) {
				for(j1=0; j1<2; j1++) {
					pTmp1=buffer1+4*k0+2*j1+k;
					pTmp2=pSinCosTable+((3*k1+k0)*j1*2);
					buffer2[i].re += COMPLEX_MULTIPLY_RE(pTmp1, pTmp2);
					buffer2[i].im += COMPLEX_MULTIPLY_IM(pTmp1, pTmp2);
				}
				i++;
			}
		}
	}
	for(i=0; i<N; i++) {
		(pDestination+i)->re=0.0;
		(pDestination+i)->im=0.0;
	}
	i=0;
	for(k2=0; k2<2; k2++) {
		for(k1=0; k1<2; k1++) {
			for(k0=0; k0<3; k0++) {
				for(j0=0; j0<2; j0++) {
					pTmp1=buffer2+4*k0+2*k1+j0;
					pTmp2=pSinCosTable+((6*k2+3*k1+k0)*j0);
					pDestination[i].re += COMPLEX_MULTIPLY_RE(pTmp1, pTmp2);
					pDestination[i].im += COMPLEX_MULTIPLY_IM(pTmp1, pTmp2);
				}
				i++;
			}
		}
	}
}

void Complex_FFT12(complex *pDestination, complex *pSource, complex *pSinCosTable) {
	complex *pTmp1, *pTmp2, buffer1[BUFF_SIZE], buffer2[BUFF_SIZE];
	//BUFF_SIZEが巨大でローカル変数として取れないときは
	//	buffer1=(complex *)calloc(BUFF_SIZE,sizeof(complex));
	// buffer2=(complex *)calloc(BUFF_SIZE,sizeof(complex));として動的にメモリを確保してください。
	complex *b;
	long i, k, N;
	long k0, k1, k2;
	long j0, j1, j2;
	long iBuffer;

	N=12;
	for(i=0; i<N; i++) {
		buffer1[i].re=0.0;
		buffer1[i].im=0.0;
	}
	i=0;
	for(k0=0; k0<3; k0++) {
		for(k=0; k<4; k++) {
			for(j2=0; j2<3; j2++) {
				b=pSource+4*j2+k;
				iBuffer=((k0)*j2*4);
				if(iBuffer >= N) {
					pTmp2=pSinCosTable+iBuffer%N;
				}
				else pTmp2=pSinCosTable+iBuffer;
				buffer1[i].re += COMPLEX_MULTIPLY_RE(pTmp2, b);
				buffer1[i].im += COMPLEX_MULTIPLY_IM(pTmp2, b);
			}
			i++;
		}
	}
	for(i=0; i<N; i++) {
		buffer2[i].re=0.0;
		buffer2[i].im=0.0;
	}
	i=0;
	for(k0=0; k0<3; k0++) {
		for(k1=0; k1<2; k1++) {
			for(k=0; k<2; k++) {
				for(j1=0; j1<2; j1++) {
					pTmp1=buffer1+4*k0+2*j1+k;
					pTmp2=pSinCosTable+((3*k1+k0)*j1*2);
					buffer2[i].re += COMPLEX_MULTIPLY_RE(pTmp2, pTmp1);
					buffer2[i].im += COMPLEX_MULTIPLY_IM(pTmp2, pTmp1);
				}
				i++;
			}
		}
	}
	for(i=0; i<N; i++) {
		(pDestination+i)->re=0.0;
		(pDestination+i)->im=0.0;
	}
	i=0;
	for(k2=0; k2<2; k2++) {
		for(k1=0; k1<2; k1++) {
			for(k0=0; k0<3; k0++) {
				for(j0=0; j0<2; j0++) {
					pTmp1=buffer2+4*k0+2*k1+j0;
					pTmp2=pSinCosTable+((6*k2+3*k1+k0)*j0);
					pDestination[i].re += COMPLEX_MULTIPLY_RE(pTmp2, pTmp1);
					pDestination[i].im += COMPLEX_MULTIPLY_IM(pTmp2, pTmp1);
				}
				i++;
			}
		}
	}
}

