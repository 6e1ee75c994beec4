// clusterkit: vector quantisation, Gaussian densities and mixtures, and the
// text files of mixture models and speaker features. Plain free functions on
// plain arrays; no host types. Matrices are flat and column-major: a set of
// dataNum vectors of dimension dim holds vector i at data[i*dim].
//
// Console text of this unit goes through platformPrintf(): the host window
// in macOS builds, standard output in Linux builds.
#ifndef CLUSTERKIT_CLUSTERKIT_H
#define CLUSTERKIT_CLUSTERKIT_H

#include "utility.h"

// ---------------------------------------------------------------------------
// Gaussian densities and mixtures
// ---------------------------------------------------------------------------
//
// Every variance argument is the variance itself, not a standard deviation.
// The suffix 01 means one variance shared by all dimensions (sigma points at
// one value), 02 one variance per dimension (sigma points at dim values).
// Sums run over the dimensions in index order from 0.0, products from 1.0.

/// 2*pi as these densities use it (not the full-precision value).
constexpr double GMM_TWO_PI = 6.28318530717958;
/// ln(GMM_TWO_PI), the constant of gaussian02Log.
constexpr double GMM_LOG_TWO_PI = 1.8378770664093445;
/// ln(2*pi) as gaussianLog writes it (differs in the last digits).
constexpr double GMM_LOG_TWO_PI_SHORT = 1.83787706640935;

/// A Gaussian mixture model. The four arrays are separate heap blocks owned
/// by the record: made by gmmAllocate() (gmmRead and the mixture plug-in use
/// it) and released by gmmFree(). Character fields hold at most 99
/// characters and their terminator.
struct GMMPARAM {
  char fileName[100]; ///< file the model was read from (set by gmmRead only)
  char comment[100];  ///< one line of free text
  char version[100];  ///< version text, one token
  int gmmType;        ///< 1 shared variance, 2 per dimension, 3 full; not used by gmmEval
  char name[100];     ///< model name, one token when it is to be read back
  int dim;            ///< dimension of the vectors
  int mixNum;         ///< number of mixtures
  double *mean;       ///< mixNum*dim values, mixture j at mean[j*dim]
  double *covariance; ///< mixNum values: each mixture's shared variance
  double *weight;     ///< mixNum mixture weights
  double *gConst;     ///< mixNum log normalising terms; carried, not used by gmmEval
};

/// Density of a Gaussian with one variance *sigma shared by all dim
/// dimensions, at x.
double gaussian01(double *x, int dim, double *mu, double *sigma);

/// Density of a Gaussian with the dim variances sigma[k], at x.
double gaussian02(double *x, int dim, double *mu, double *sigma);

/// Natural log of gaussian01(). gConst is the log normalising term
/// dim*ln(2*pi*sigma); 0.0 asks for it to be computed here.
double gaussian01Log(double *x, int dim, double *mu, double *sigma, double gConst);

/// Natural log of gaussian02(). gConst is ln(prod sigma[k]) + dim*ln(2*pi);
/// 0.0 asks for it to be computed here.
double gaussian02Log(double *x, int dim, double *mu, double *sigma, double gConst);

/// Natural log of the one-dimensional Gaussian density with mean mu and
/// variance sigma, at x.
double gaussianLog(double x, double mu, double sigma);

/// ln(sum of exp(logValue[i])), accumulated pairwise in array order with
/// acc = ln(exp(lo - hi) + 1) + hi. Two -Inf in a row make NaN, as does any
/// NaN. Fewer than one value gives -Inf, the logarithm of an empty sum.
double mixLogSum(double *logValue, int count);

/// Scores dataNum vectors of dimension gmm.dim under the mixture gmm, each
/// mixture with its one shared variance covariance[j] (gmmType and gConst are
/// not consulted). logProb (dataNum values) receives each vector's
/// log-likelihood; mixProb (mixNum x dataNum, column-major) the unweighted
/// density of each mixture at each vector. A model without mixtures gives
/// -Inf. Fails through myExit when its two scratch blocks cannot be had.
void gmmEval(double *data, int dim, int dataNum, GMMPARAM &gmm, double *logProb,
             double *mixProb);

// ---------------------------------------------------------------------------
// Mixture model file
// ---------------------------------------------------------------------------
//
// Tagged text: "<comment>" (rest of its line), "<version>", "<gmmType>",
// "<name>", "<dim>", "<mixNum>", "<mean>" (mixNum*dim values, mixture by
// mixture), "<covariance>", "<weight>", "<gConst>" (mixNum values each).
// See docs/mixture-model-file.md.

/// Sets gmm.dim and gmm.mixNum and gives the record four zero-filled arrays
/// (mean mixNum*dim, the others mixNum values). A negative size, a size
/// beyond the int range, or memory that cannot be had fails through myExit
/// before anything is allocated or changed.
void gmmAllocate(GMMPARAM &gmm, int dim, int mixNum);

/// Reads the model file fileName into gmm; the arrays are new and released
/// with gmmFree(). A tag that does not match prints "temp=<token read>" and
/// "Cannot find \"<tag>\"!" and fails through myExit, with the file closed
/// and nothing left allocated. Values longer than 99 characters are cut to
/// 99; gConst values the file does not supply are 0.
void gmmRead(const char *fileName, GMMPARAM &gmm);

/// Prints gmm on the console in the file format ("%e " per value); a file
/// holding that text reads back with gmmRead() when version and name are
/// single tokens and the comment is not empty.
void gmmPrint(GMMPARAM &gmm);

/// Releases mean, covariance, weight and gConst and sets them to null, so a
/// second call does nothing. dim and mixNum stay as they were.
void gmmFree(GMMPARAM &gmm);

// ---------------------------------------------------------------------------
// Speaker feature file
// ---------------------------------------------------------------------------
//
// Tagged text: "<comment>" (rest of its line), "<version>", "<feaDim>",
// "<personName>", "<sentenceNum>", then per sentence "<sentence>" (a number
// that is not kept), "<frameNum>" and "<mfcc>" (frameNum*feaDim values).

/// Sentences a SPEAKERMFCC can hold.
constexpr int MAX_SENTENCE_NUM_PER_PERSON = 100;
/// Feature values one sentence can hold.
constexpr int MAX_MFCC_SIZE = 10000;

/// The feature frames of one sentence: the first frameNum*feaDim values of
/// mfcc, in the order of the file.
struct SENTENCEMFCC {
  int frameNum;
  float mfcc[MAX_MFCC_SIZE];
};

/// One speaker's sentences, all data inline: about 4 MB, so keep it off the
/// stack. Character fields hold at most 99 characters and their terminator.
struct SPEAKERMFCC {
  char fileName[100];
  char comment[100];
  char version[100];
  char personName[100];
  int feaDim;      ///< feature values per frame
  int sentenceNum; ///< sentences in use, the first ones of sentence[]
  SENTENCEMFCC sentence[MAX_SENTENCE_NUM_PER_PERSON];
};

/// Reads the speaker feature file fileName into speaker; allocates nothing.
/// Fails through myExit, with the file closed, on a tag that does not match
/// (printing "temp=<token read>" and "Cannot find \"<tag>\"!"), on more than
/// MAX_SENTENCE_NUM_PER_PERSON sentences or more than MAX_MFCC_SIZE values in
/// a sentence (printing the capacity's message), and on a negative feaDim or
/// frameNum.
void speakerMfccRead(const char *fileName, SPEAKERMFCC &speaker);

// ---------------------------------------------------------------------------
// Vector quantisation
// ---------------------------------------------------------------------------
// k-means training of a codebook: data is dim x dataNum (one vector per
// column), center is dim x centerNum and is rewritten in place. All arrays
// belong to the caller; nothing here allocates. The routines expect
// dim >= 1, dataNum >= 1 and 1 <= centerNum <= dataNum, and check none of it.

/// Copies the first centerNum columns of data into center (dataNum unused).
void initVqCenter(const double *data, int dim, int dataNum, double *center, int centerNum);

/// Index of the first smallest of vector[0..n-1] (ties go to the lowest index,
/// NaN is never taken); minValue receives that element. Reads vector[0] even
/// for n <= 1, which gives 0.
int findVecMin(const double *vector, int n, double &minValue);

/// @param data         in: the vectors (size dim * dataNum)
/// @param center       in/out: the centres (size dim * centerNum)
/// @param memberIndex  out: nearest centre of each vector, 0-based (size dataNum)
/// @param distVec      scratch (size centerNum)
/// @param memberCount  out: members of each centre (size centerNum)
///
/// One k-means pass. Assigns each vector to its nearest centre (memberIndex,
/// dataNum entries, the lower-numbered centre among equal squared distances),
/// counts the members of each centre (memberCount, centerNum entries), and
/// moves each centre with members to their mean; a centre without members
/// keeps its position. distVec is scratch of centerNum entries. Returns the
/// distortion: the total squared distance of the vectors to their nearest
/// centres as the centres stood before the pass.
double updateVqCenter(const double *data, int dim, int dataNum, double *center, int centerNum,
                      int *memberIndex, double *distVec, int *memberCount);

/// @param data          in: the vectors (size dim * dataNum)
/// @param center        in/out: the starting centres, then the trained ones (size dim * centerNum)
/// @param memberIndex   out: nearest centre of each vector, 0-based (size dataNum)
/// @param distVec       scratch (size centerNum)
/// @param memberCount   out: members of each centre (size centerNum)
/// @param distortion    out: distortion of each pass (size maxLoopCount)
/// @param maxLoopCount  most passes to run
/// @param plotOpt       1 prints each pass's distortion on the console
///
/// Runs updateVqCenter passes until the distortion changes by less than
/// DBL_EPSILON relative to the previous pass (1e6 before the first), or
/// maxLoopCount passes have run. distortion[i] receives the distortion of
/// pass i (room for maxLoopCount values). With plotOpt 1 each pass prints
/// "i = <pass>, distortion = <value>" on the console. Returns the number of
/// passes run (0 when maxLoopCount <= 0); memberIndex and memberCount hold the
/// assignment of the last pass.
int vqKmeans(const double *data, int dim, int dataNum, double *center, int centerNum,
             int *memberIndex, double *distVec, int *memberCount, double *distortion,
             int maxLoopCount, int plotOpt);

/// Prints the rowNum x colNum column-major matrix on the console, one line
/// per row, each value as "%g" followed by a space.
void printArray(const double *matrix, int rowNum, int colNum);

#endif // CLUSTERKIT_CLUSTERKIT_H
