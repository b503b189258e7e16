// For bench/run.sh: the time of one forward and one inverse real FFT,
// unscaled plus the 1/n pass, at the lengths listen/convolution/convolver.cpp uses (twice
// its block), for FFTW3 in single and double precision (plans made with
// FFTW_ESTIMATE, as listen/convolution/fft.cpp makes them) and for KissFFT's float build.
#include <fftw3.h>
#include <kissfft/kiss_fftr.h>
#include <chrono>
#include <cstdio>
#include <vector>
#include <cmath>
#include <random>
using clk = std::chrono::steady_clock;
int main() {
  std::printf("%7s %12s %12s %12s   (us, forward + inverse)\n", "n", "fftw float", "fftw double", "kiss float");
  std::mt19937 g(1); std::uniform_real_distribution<float> u(-1,1);
  for (int lg = 7; lg <= 18; ++lg) {
    int n = 1 << lg;
    int reps = std::max(4, (1<<24) / n);
    std::vector<float> in(n), out(n); for (auto& x: in) x = u(g);
    std::vector<double> ind(in.begin(), in.end()), outd(n);
    // fftw float
    fftwf_complex* c = fftwf_alloc_complex(n/2+1);
    float* fi = fftwf_alloc_real(n);
    fftwf_plan pf = fftwf_plan_dft_r2c_1d(n, fi, c, FFTW_ESTIMATE);
    fftwf_plan pb = fftwf_plan_dft_c2r_1d(n, c, fi, FFTW_ESTIMATE);
    for (int i=0;i<n;++i) fi[i]=in[i];
    auto t0 = clk::now();
    for (int r=0;r<reps;++r){ fftwf_execute(pf); fftwf_execute(pb); for(int i=0;i<n;++i) fi[i]*=1.0f/n; }
    double tf = std::chrono::duration<double>(clk::now()-t0).count()/reps;
    // fftw double
    fftw_complex* cd = fftw_alloc_complex(n/2+1);
    double* di = fftw_alloc_real(n);
    fftw_plan qf = fftw_plan_dft_r2c_1d(n, di, cd, FFTW_ESTIMATE);
    fftw_plan qb = fftw_plan_dft_c2r_1d(n, cd, di, FFTW_ESTIMATE);
    for (int i=0;i<n;++i) di[i]=in[i];
    t0 = clk::now();
    for (int r=0;r<reps;++r){ fftw_execute(qf); fftw_execute(qb); for(int i=0;i<n;++i) di[i]*=1.0/n; }
    double td = std::chrono::duration<double>(clk::now()-t0).count()/reps;
    // kiss
    kiss_fftr_cfg kf = kiss_fftr_alloc(n, 0, 0, 0), kb = kiss_fftr_alloc(n, 1, 0, 0);
    std::vector<kiss_fft_cpx> kc(n/2+1); std::vector<float> ki(in);
    t0 = clk::now();
    for (int r=0;r<reps;++r){ kiss_fftr(kf, ki.data(), kc.data()); kiss_fftri(kb, kc.data(), ki.data()); for(int i=0;i<n;++i) ki[i]*=1.0f/n; }
    double tk = std::chrono::duration<double>(clk::now()-t0).count()/reps;
    std::printf("%7d %12.1f %12.1f %12.1f\n", n, tf * 1e6, td * 1e6, tk * 1e6);
  }
}
