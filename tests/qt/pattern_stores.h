// Patterns for the window tests and their screenshots: a quartz-like scan
// and a quartz peak list, filled by hand.
#pragma once

#include <QDir>
#include <QString>
#include <algorithm>
#include <cmath>

#include "core/store.h"

namespace talvo::testing {

struct Line_2Theta {
  double two_theta, intensity;
};

// Quartz with copper K-alpha, strongest line 100.
inline constexpr Line_2Theta Quartz_Lines[] = {{20.86, 22}, {26.64, 100}, {36.54, 8},  {39.47, 8}, {40.29, 4},
                                               {42.45, 6},  {45.79, 4},   {50.14, 14}, {54.87, 4}, {59.96, 9},
                                               {64.03, 2},  {67.74, 6},   {68.14, 7}};

inline std::string Sample(const std::string& name) {
  std::string text = name;
  text.resize(32, ' ');
  return text;
}

// 3350 points from 3 to 70 degrees, Gauss peaks over a background of 40.
inline Store Quartz_Scan() {
  Store store;
  store.Nb_Points = 3351;
  store.Start_2Theta = 3;
  store.Step_Size = 0.02;
  store.Intensities.assign(store.Nb_Points + 1, 0);
  for (int k = 1; k <= store.Nb_Points; ++k) {
    const double t = (k - 1) * store.Step_Size + store.Start_2Theta;
    double counts = 40 + 8 * std::sin(k * 0.7) * std::cos(k * 0.13);
    for (const auto& line : Quartz_Lines)
      counts += 9.5 * line.intensity * std::exp(-std::pow((t - line.two_theta) / 0.12, 2));
    store.Intensities[k] = static_cast<float>(counts);
  }
  store.Max_Intensity = 0;
  for (int k = 1; k <= store.Nb_Points; ++k)
    store.Max_Intensity = std::max<double>(store.Max_Intensity, store.Intensities[k]);
  store.Range_Limits = {3, 70};
  store.Sample_ID = Sample("Quartz standard");
  return store;
}

inline Store Quartz_Peaks() {
  Store store;
  store.Is_Peak_List = True16;
  int16_t k = 0;
  for (const auto& line : Quartz_Lines) store.Peaks[++k] = {line.two_theta, line.intensity};
  store.Nb_Peaks = k;
  store.Max_Intensity = 100;
  store.Range_Limits = {15, 70};
  store.Sample_ID = Sample("Quartz peaks");
  return store;
}

// Where the tests leave their pictures when TALVO_SCREENSHOTS names a folder.
inline QString Screenshot_Path(const char* name) {
  const QString folder = qEnvironmentVariable("TALVO_SCREENSHOTS");
  return folder.isEmpty() ? QString() : QDir(folder).filePath(QString::fromLatin1(name));
}

}  // namespace talvo::testing
