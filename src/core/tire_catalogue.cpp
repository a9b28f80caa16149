#include "core/tire_catalogue.h"

#include <array>
#include <cstddef>

namespace tesmir {
namespace {

// One busbar model: loop R and X per metre of run, mOhm/m. Model texts end in
// the Latin capital A, also in the Cyrillic-named ninth family.
struct TireModel {
  std::string_view name;
  double r;
  double x;
};

// clang-format off
constexpr TireModel kCanalis[] = {
    {"KDP, 20A",          14.603, 0.297},
    {"KBA, 25A",          14.603, 0.297},
    {"KBA, 40A",          8.773, 0.14},
    {"KBX, 25A",          15.007, 9.84},
    {"KBB, 25A",          14.603, 0.297},
    {"KBB, 40A",          8.067, 1.763},
    {"KDP, 10A",          26.2, 6.2},
    {"KBC, 16A",          26.2, 6.2},
    {"KN, 40A",           10.627, 0.217},
    {"KN, 63A",           10.627, 0.217},
    {"KN, 100A",          4.32, 0.707},
    {"KN, 160A",          1.96, 0.72},
    {"KS, 100A",          1.64, 0.59},
    {"KS, 160A",          2.677, 0.417},
    {"KS, 250A",          1.183, 0.41},
    {"KS, 400A",          0.687, 0.393},
    {"KS, 500A",          0.433, 0.317},
    {"KS, 630A",          0.267, 0.167},
    {"KS, 800A",          0.257, 0.23},
    {"KS, 1000A",         0.177, 0.183},
    {"KTA, 800A",         0.271, 0.206},
    {"KTA, 1000A",        0.334, 0.266},
    {"KTA, 1250A",        0.233, 0.169},
    {"KTA, 1600A",        0.191, 0.13},
    {"KTA, 2000A",        0.163, 0.103},
    {"KTA, 2500A",        0.142, 0.082},
    {"KTA, 3200A",        0.115, 0.061},
    {"KTA, 4000A",        0.097, 0.048},
    {"KTC, 10A",          0.262, 0.237},
    {"KTC, 13A",          0.212, 0.174},
    {"KTC, 16A",          0.189, 0.147},
    {"KTC, 20A",          0.16, 0.114},
    {"KTC, 25A",          0.138, 0.09},
    {"KTC, 32A",          0.122, 0.071},
    {"KTC, 40A",          0.101, 0.054},
    {"KTC, 50A",          0.085, 0.042},
};

constexpr TireModel kELine[] = {
    {"DAM, 25A",          6.4, 1.423},
    {"DAM, 32A",          5.647, 1.147},
    {"DAP, 40A",          2.293, 0.76},
    {"DAP, 63A",          2.04, 0.257},
    {"KAM 02, 25A",       6.4, 1.423},
    {"KAM 03, 32A",       5.647, 1.147},
    {"KAM 04, 40A",       2.293, 0.76},
    {"KAM 06, 63A",       2.04, 0.257},
    {"KB 08, 800A",       0.154, 0.128},
    {"KB 10, 1000A",      0.132, 0.105},
    {"KB 12, 1250A",      0.112, 0.085},
    {"KB 13, 1600A",      0.094, 0.076},
    {"KB 16, 1600A",      0.086, 0.065},
    {"KB 20, 2000A",      0.07, 0.054},
    {"KB 25, 2500A",      0.053, 0.046},
    {"KB 27, 3050A",      0.049, 0.038},
    {"KB 30, 3100A",      0.045, 0.039},
    {"KB 40, 4000A",      0.04, 0.032},
    {"KB 41, 4250A",      0.036, 0.029},
    {"KBC-II 10, 1000A",  0.154, 0.107},
    {"KBC-II 12, 1250A",  0.132, 0.107},
    {"KBC-II 16, 1600A",  0.108, 0.079},
    {"KBC-II 20, 2000A",  0.09, 0.067},
    {"KBC-II 23, 2250A",  0.078, 0.062},
    {"KBC-II 25, 2500A",  0.072, 0.063},
    {"KBC-II 30, 3000A",  0.072, 0.046},
    {"KBC-II 36, 3600A",  0.05, 0.044},
    {"KBC-II 42, 4250A",  0.043, 0.04},
    {"KBC-II 44, 4400A",  0.043, 0.039},
    {"KBC-II 53, 5300A",  0.039, 0.036},
    {"KBC-II 63, 6300A",  0.034, 0.03},
    {"KOA 01, 160A",      0.572, 0.41},
    {"KOA 02, 250A",      0.492, 0.366},
    {"KOA 03, 315A",      0.408, 0.33},
    {"KOA 04, 400A",      0.25, 0.236},
    {"KOA 05, 500A",      0.218, 0.206},
    {"KOA 06, 600A",      0.188, 0.176},
    {"KOC 02, 250A",      0.36, 0.346},
    {"KOC 03, 315A",      0.328, 0.308},
    {"KOC 04, 400A",      0.288, 0.29},
    {"KOC 06, 600A",      0.156, 0.234},
    {"KOC 08, 800A",      0.136, 0.166},
    {"TB, 35A",           5.48, 0.28},
    {"TB, 63A",           3.42, 0.26},
    {"TB, 80A",           2.74, 0.26},
    {"TB, 100A",          1.82, 0.28},
    {"TB, 125A",          1.36, 0.26},
    {"TB, 160A",          1.34, 0.42},
    {"TB, 200A",          0.9, 0.14},
    {"TB, 250A",          0.68, 0.12},
};

constexpr TireModel kGersan[] = {
    {"GGDA, 160A",        0.557, 0.004},
    {"GGDA, 250A",        0.536, 0.028},
    {"GGDA, 315A",        0.453, 0.028},
    {"GGDA, 400A",        0.442, 0.03},
    {"GGDA, 500A",        0.262, 0.04},
    {"GGDA, 630A",        0.256, 0.04},
    {"GGDA, 800A",        0.247, 0.038},
    {"GGDA, 1000A",       0.24, 0.02},
    {"GGDC, 160A",        0.317, 0.036},
    {"GGDC, 250A",        0.306, 0.046},
    {"GGDC, 315A",        0.293, 0.048},
    {"GGDC, 400A",        0.275, 0.048},
    {"GGDC, 500A",        0.248, 0.056},
    {"GGDC, 630A",        0.242, 0.056},
    {"GGDC, 800A",        0.215, 0.052},
    {"GSA, 800A",         0.129, 0.068},
    {"GSA, 1000A",        0.108, 0.069},
    {"GSA, 1250A",        0.084, 0.04},
    {"GSA, 1600A",        0.081, 0.032},
    {"GSA, 2000A",        0.065, 0.032},
    {"GSA, 2500A",        0.042, 0.018},
    {"GSA, 3200A",        0.04, 0.016},
    {"GSA, 4000A",        0.027, 0.014},
    {"GSC, 800A",         0.083, 0.023},
    {"GSC, 1000A",        0.082, 0.024},
    {"GSC, 1250A",        0.081, 0.026},
    {"GSC, 1600A",        0.067, 0.025},
    {"GSC, 2000A",        0.05, 0.011},
    {"GSC, 2500A",        0.048, 0.011},
    {"GSC, 3200A",        0.037, 0.015},
    {"GSC, 4000A",        0.022, 0.009},
    {"GSC, 5000A",        0.017, 0.008},
    {"GSC, 6000A",        0.013, 0.006},
    {"GCA, 800A",         0.093, 0.074},
    {"GCA, 1000A",        0.081, 0.074},
    {"GCA, 1250A",        0.062, 0.044},
    {"GCA, 1600A",        0.057, 0.038},
    {"GCA, 2000A",        0.041, 0.038},
    {"GCA, 2500A",        0.031, 0.022},
    {"GCA, 3200A",        0.029, 0.02},
    {"GCA, 4000A",        0.019, 0.016},
    {"GCC, 800A",         0.06, 0.074},
    {"GCC, 1000A",        0.058, 0.074},
    {"GCC, 1250A",        0.054, 0.044},
    {"GCC, 1600A",        0.051, 0.038},
    {"GCC, 2000A",        0.036, 0.038},
    {"GCC, 2500A",        0.027, 0.022},
    {"GCC, 3200A",        0.025, 0.02},
    {"GCC, 4000A",        0.018, 0.016},
    {"GCC, 5000A",        0.013, 0.014},
    {"GCC, 6300A",        0.012, 0.014},
};

constexpr TireModel kMempower[] = {
    {"LUX, 25A",          11.48, 9.84},
    {"LUX, 40A",          5.92, 5.08},
    {"LUX, 63A",          4.36, 3.94},
    {"LP, 40A",           1.92, 0.196},
    {"LP, 63A",           1.92, 0.196},
    {"LP, 80A",           1.92, 0.196},
    {"LP, 100A",          1.066, 0.182},
    {"LP, 125A",          0.96, 0.17},
    {"MP, 125A",          1.338, 0.418},
    {"MP, 160A",          0.794, 0.296},
    {"MP, 250A",          0.592, 0.266},
    {"MP, 400A",          0.324, 0.214},
    {"MP, 630A",          0.18, 0.174},
    {"MP, 800A",          0.158, 0.158},
    {"XP, 500A",          0.145, 0.07},
    {"XP, 800A",          0.157, 0.07},
    {"XP, 1000A",         0.12, 0.062},
    {"XP, 1200A",         0.097, 0.05},
    {"XP, 1350A",         0.082, 0.042},
    {"XP, 1600A",         0.062, 0.036},
    {"XP, 2000A",         0.048, 0.028},
    {"XP, 2500A",         0.035, 0.025},
    {"XP, 3200A",         0.031, 0.018},
    // Nothing is published for the three largest XP models. They take the values of "XP, 3200A",
    // the largest with published data: a higher impedance gives a smaller computed current, so the
    // device check errs on the safe side instead of such a section silently adding nothing.
    {"XP, 4000A",         0.031, 0.018},
    {"XP, 5000A",         0.031, 0.018},
    {"XP, 6300A",         0.031, 0.018},
};

constexpr TireModel kNaxso[] = {
    {"LUX, 25A",          14.24, 1.3},
    {"LUX, 40A",          6.81, 0.62},
    {"LUX, 63A",          5.31, 0.49},
    {"BP, 40A",           2.732, 0.391},
    {"BP, 63A",           2.084, 0.391},
    {"BP, 100A",          2.003, 0.363},
    {"BP, 160A",          1.403, 0.274},
    {"BP, 250A",          0.745, 0.274},
    {"BPK, 250A",         0.458, 0.27},
    {"BPK, 315A",         0.412, 0.27},
    {"BPK, 400A",         0.338, 0.27},
    {"BPG, 250A",         0.326, 0.045},
    {"BPG, 315A",         0.305, 0.045},
    {"BPG, 400A",         0.152, 0.115},
    {"BPG, 500A",         0.141, 0.115},
    {"BPG, 630A",         0.14, 0.115},
    {"BPG, 800A",         0.07, 0.102},
    {"BPG, 1000A",        0.064, 0.102},
    {"NXW, 500A",         0.162, 0.169},
    {"NXW, 800A",         0.099, 0.154},
    {"NXW, 1000A",        0.086, 0.14},
    {"NXW, 1250A",        0.086, 0.128},
    {"NXW, 1600A",        0.059, 0.117},
    {"NXW, 2000A",        0.055, 0.108},
    {"NXW, 2500A",        0.038, 0.075},
    {"NXW, 3200A",        0.03, 0.059},
    {"NXW, 4000A",        0.028, 0.055},
    {"NXW, 5000A",        0.026, 0.052},
    {"NXW, 6300A",        0.017, 0.032},
};

constexpr TireModel kLv70[] = {
    {"BD01, 40A",         7.941, 0.896},
    {"BD01, 63A",         4.146, 1.329},
    {"BD01, 100A",        2.841, 1.213},
    {"BD01, 125A",        2.417, 0.973},
    {"BD01, 160A",        2.166, 0.967},
    {"BD2A, 160A",        0.942, 0.361},
    {"BD2A, 250A",        0.888, 0.35},
    {"BD2A, 315A",        0.688, 0.295},
    {"BD2A, 400A",        0.517, 0.295},
    {"BD2A, 500A",        0.253, 0.148},
    {"BD2A, 630A",        0.255, 0.148},
    {"BD2A, 800A",        0.213, 0.143},
    {"BD2A, 1000A",       0.17, 0.13},
    {"BD2C, 160A",        0.675, 0.335},
    {"BD2C, 250A",        0.673, 0.339},
    {"BD2C, 315A",        0.63, 0.279},
    {"BD2C, 400A",        0.517, 0.287},
    {"BD2C, 500A",        0.253, 0.14},
    {"BD2C, 630A",        0.252, 0.141},
    {"BD2C, 800A",        0.128, 0.122},
    {"BD2C, 1000A",       0.128, 0.123},
    {"BD2C, 1250A",       0.083, 0.128},
    {"CD-K-13, 25A",      11.94, 0.763},
    {"CD-K-22, 40A",      9.237, 0.373},
    {"CD-K-14, 25A",      7.317, 0.597},
    {"CD-K-24, 40A",      7.237, 0.347},
};

constexpr TireModel kWavePro[] = {
    {"LT(Cu), 250A",      0.356, 0.045},
    {"LT(Cu), 400A",      0.356, 0.045},
    {"LT(Cu), 630A",      0.269, 0.064},
    {"LT(Cu), 800A",      0.222, 0.055},
    {"LT(Cu), 1000A",     0.162, 0.036},
    {"LT(Cu), 1250A",     0.124, 0.041},
    {"LT(Cu), 1350A",     0.122, 0.037},
    {"LT(Cu), 1600A",     0.101, 0.033},
    {"LT(Cu), 2000A",     0.075, 0.028},
    {"LT(Cu), 2500A",     0.059, 0.021},
    {"LT(Cu), 3150A",     0.043, 0.019},
    {"LT(Cu), 3800A",     0.037, 0.013},
    {"LT(Cu), 4000A",     0.035, 0.013},
    {"LT(Cu), 4500A",     0.028, 0.011},
    {"LT(Cu), 5000A",     0.026, 0.01},
    {"LT(Al), 100A",      0.514, 0.071},
    {"LT(Al), 160A",      0.514, 0.071},
    {"LT(Al), 200A",      0.514, 0.071},
    {"LT(Al), 250A",      0.514, 0.071},
    {"LT(Al), 400A",      0.39, 0.059},
    {"LT(Al), 500A",      0.316, 0.051},
    {"LT(Al), 630A",      0.267, 0.046},
    {"LT(Al), 800A",      0.207, 0.038},
    {"LT(Al), 1000A",     0.179, 0.034},
    {"LT(Al), 1250A",     0.151, 0.029},
    {"LT(Al), 1350A",     0.129, 0.027},
    {"LT(Al), 1600A",     0.115, 0.025},
    {"LT(Al), 2000A",     0.095, 0.022},
    {"LT(Al), 2500A",     0.079, 0.019},
    {"LT(Al), 3150A",     0.053, 0.012},
    {"LT(Al), 3800A",     0.043, 0.01},
    {"LT(Al), 4000A",     0.038, 0.01},
};

constexpr TireModel kLsCable[] = {
    {"LS(Cu), 630A",      0.15, 0.068},
    {"LS(Cu), 800A",      0.15, 0.064},
    {"LS(Cu), 1000A",     0.11, 0.05},
    {"LS(Cu), 1250A",     0.088, 0.041},
    {"LS(Cu), 1600A",     0.062, 0.028},
    {"LS(Cu), 2000A",     0.048, 0.022},
    {"LS(Cu), 2500A",     0.037, 0.017},
    {"LS(Cu), 3200A",     0.031, 0.014},
    {"LS(Cu), 3600A",     0.027, 0.012},
    {"LS(Cu), 4000A",     0.024, 0.011},
    {"LS(Cu), 5000A",     0.019, 0.009},
    {"LS(Cu), 6000A",     0.016, 0.007},
    {"LS(Cu), 7500A",     0.012, 0.006},
    {"LS(Al), 630A",      0.28, 0.068},
    {"LS(Al), 800A",      0.159, 0.044},
    {"LS(Al), 1000A",     0.137, 0.037},
    {"LS(Al), 1250A",     0.111, 0.03},
    {"LS(Al), 1600A",     0.076, 0.02},
    {"LS(Al), 2000A",     0.062, 0.017},
    {"LS(Al), 2500A",     0.048, 0.013},
    {"LS(Al), 3200A",     0.038, 0.01},
    {"LS(Al), 3600A",     0.034, 0.009},
    {"LS(Al), 4000A",     0.031, 0.008},
    {"LS(Al), 5000A",     0.023, 0.006},
    {"LS(Al), 6000A",     0.02, 0.005},
};

constexpr TireModel kShma[] = {
    {"ШМА4, 1250A",       0.099, 0.053},
    {"ШМА4, 1600A",       0.09, 0.03},
    {"ШМА4, 2000A",       0.044, 0.03},
    {"ШМА4, 2500A",       0.051, 0.076},
    {"ШМА4, 3200A",       0.045, 0.07},
    {"ШМА4, 4000A",       0.033, 0.032},
    {"ШМА5, 250A",        0.41, 0.19},
    {"ШМА5, 400A",        0.24, 0.148},
    {"ШМА5, 630A",        0.136, 0.104},
    {"ШМА5, 1250A",       0.099, 0.053},
    {"ШМА5, 1600A",       0.09, 0.03},
    {"ШМА5, 2500A",       0.051, 0.076},
    {"ШМА5, 3200A",       0.045, 0.07},
    {"ШМА68П, 2500A",     0.037, 0.028},
    {"ШМА68П, 4000A",     0.032, 0.025},
    {"ШРА73, 250A",       0.42, 0.356},
    {"ШРА73, 400A",       0.3, 0.388},
    {"ШРА73, 630A",       0.2, 0.21},
    {"ШОС, 25A",          10.8, 2},
    {"ШОС, 40A",          10.8, 2},
};
// clang-format on

// Model texts of a family, in list order.
template <std::size_t N>
constexpr std::array<std::string_view, N> NamesOf(const TireModel (&models)[N]) {
  std::array<std::string_view, N> names{};
  for (std::size_t i = 0; i < N; ++i) names[i] = models[i].name;
  return names;
}

constexpr auto kCanalisNames = NamesOf(kCanalis);
constexpr auto kELineNames = NamesOf(kELine);
constexpr auto kGersanNames = NamesOf(kGersan);
constexpr auto kMempowerNames = NamesOf(kMempower);
constexpr auto kNaxsoNames = NamesOf(kNaxso);
constexpr auto kLv70Names = NamesOf(kLv70);
constexpr auto kWaveProNames = NamesOf(kWavePro);
constexpr auto kLsCableNames = NamesOf(kLsCable);
constexpr auto kShmaNames = NamesOf(kShma);

struct TireFamily {
  std::span<const TireModel> models;
  std::span<const std::string_view> names;
};

// Families in kTireFamilies order.
constexpr TireFamily kFamilies[] = {
    {kCanalis, kCanalisNames},   {kELine, kELineNames},     {kGersan, kGersanNames},
    {kMempower, kMempowerNames}, {kNaxso, kNaxsoNames},     {kLv70, kLv70Names},
    {kWavePro, kWaveProNames},   {kLsCable, kLsCableNames}, {kShma, kShmaNames},
};
static_assert(std::size(kFamilies) == std::size(kTireFamilies));

const TireFamily* FindFamily(std::string_view family) {
  for (std::size_t i = 0; i < std::size(kTireFamilies); ++i) {
    if (kTireFamilies[i] == family) return &kFamilies[i];
  }
  return nullptr;
}

}  // namespace

Result<TireImpedance> CalcTireLineImpedance(std::string_view model, std::string_view family) {
  if (const TireFamily* found = FindFamily(family)) {
    for (const TireModel& candidate : found->models) {
      if (candidate.name == model) return TireImpedance{candidate.r, candidate.x};
    }
  }
  return Fail(tire_messages::kUnknownModel);
}

std::span<const std::string_view> TireLineModels(std::string_view family) {
  const TireFamily* found = FindFamily(family);
  return found ? found->names : std::span<const std::string_view>{};
}

}  // namespace tesmir
