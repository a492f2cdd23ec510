// Writes the package's PPD files from the model table.
//
//   ppdgen MODELS_TSV GENERATION OUT_DIR
//
// One PPD file per model and page description language the model offers
// (PostScript for every model, PCL and PXL for some), named after the model
// (blanks become '_') with the language: Velor_Lumen_1090i-PS.ppd. The
// version marker line carries GENERATION: the package's own files are
// generation 2; generation 1 stands for the maker's older files that queues
// in the field still use. The two generations differ where the carry-over
// of a queue's defaults must show: the older one offers an input slot
// ("Envelope") the newer one does not, and the defaults differ from what the
// tests choose.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Model {
  std::string name;
  int id = 0;
};

std::vector<Model> readModels(const char* path) {
  std::ifstream in(path);
  std::vector<Model> models;
  for (std::string line; std::getline(in, line);) {
    const auto tab = line.find('\t');
    if (tab != std::string::npos) models.push_back({line.substr(0, tab), std::stoi(line.substr(tab + 1))});
  }
  return models;
}

// PostScript for every model; PCL for every third id, PXL for every fifth.
std::vector<std::string> languagesOf(const Model& m) {
  std::vector<std::string> languages{"PS"};
  if (m.id % 3 == 0) languages.push_back("PCL");
  if (m.id % 5 == 0) languages.push_back("PXL");
  return languages;
}

std::string fileStem(const Model& m, const std::string& language) {
  std::string stem = m.name;
  for (char& c : stem)
    if (c == ' ') c = '_';
  return stem + "-" + language;
}

struct Paper {
  const char* name;
  const char* text;
  int width, height;  // points
};
constexpr Paper kPapers[] = {
    {"Letter", "US Letter", 612, 792}, {"A4", "A4", 595, 842}, {"Legal", "US Legal", 612, 1008}, {"A5", "A5", 420, 595}};

void paperOptions(std::ostream& o) {
  o << "*OpenUI *PageSize/Media Size: PickOne\n"
       "*OrderDependency: 10 AnySetup *PageSize\n"
       "*DefaultPageSize: Letter\n";
  for (const Paper& p : kPapers)
    o << "*PageSize " << p.name << "/" << p.text << ": \"<</PageSize[" << p.width << " " << p.height
      << "]/ImagingBBox null>>setpagedevice\"\n";
  o << "*CloseUI: *PageSize\n\n"
       "*OpenUI *PageRegion/Media Size: PickOne\n"
       "*OrderDependency: 10 AnySetup *PageRegion\n"
       "*DefaultPageRegion: Letter\n";
  for (const Paper& p : kPapers)
    o << "*PageRegion " << p.name << "/" << p.text << ": \"<</PageSize[" << p.width << " " << p.height
      << "]/ImagingBBox null>>setpagedevice\"\n";
  o << "*CloseUI: *PageRegion\n\n"
       "*DefaultImageableArea: Letter\n";
  for (const Paper& p : kPapers)
    o << "*ImageableArea " << p.name << "/" << p.text << ": \"12 12 " << p.width - 12 << " " << p.height - 12
      << "\"\n";
  o << "*DefaultPaperDimension: Letter\n";
  for (const Paper& p : kPapers)
    o << "*PaperDimension " << p.name << "/" << p.text << ": \"" << p.width << " " << p.height << "\"\n";
  o << "\n";
}

void otherOptions(std::ostream& o, int generation) {
  o << "*OpenUI *Duplex/Two-Sided Printing: PickOne\n"
       "*OrderDependency: 20 AnySetup *Duplex\n"
       "*DefaultDuplex: None\n"
       "*Duplex None/Off: \"<</Duplex false>>setpagedevice\"\n"
       "*Duplex DuplexNoTumble/Long Edge: \"<</Duplex true/Tumble false>>setpagedevice\"\n"
       "*Duplex DuplexTumble/Short Edge: \"<</Duplex true/Tumble true>>setpagedevice\"\n"
       "*CloseUI: *Duplex\n\n"
       "*OpenUI *Resolution/Resolution: PickOne\n"
       "*OrderDependency: 30 AnySetup *Resolution\n"
       "*DefaultResolution: 600dpi\n"
       "*Resolution 300dpi/300 dpi: \"<</HWResolution[300 300]>>setpagedevice\"\n"
       "*Resolution 600dpi/600 dpi: \"<</HWResolution[600 600]>>setpagedevice\"\n"
       "*Resolution 1200dpi/1200 dpi: \"<</HWResolution[1200 1200]>>setpagedevice\"\n"
       "*CloseUI: *Resolution\n\n"
       "*OpenUI *InputSlot/Paper Source: PickOne\n"
       "*OrderDependency: 40 AnySetup *InputSlot\n"
       "*DefaultInputSlot: Auto\n"
       "*InputSlot Auto/Automatic: \"<</ManualFeed false>>setpagedevice\"\n"
       "*InputSlot Tray1/Tray 1: \"<</ManualFeed false/MediaPosition 1>>setpagedevice\"\n"
       "*InputSlot Tray2/Tray 2: \"<</ManualFeed false/MediaPosition 2>>setpagedevice\"\n"
       "*InputSlot Manual/Manual Feed: \"<</ManualFeed true>>setpagedevice\"\n";
  if (generation == 1) o << "*InputSlot Envelope/Envelope Feeder: \"<</ManualFeed false/MediaPosition 9>>setpagedevice\"\n";
  o << "*CloseUI: *InputSlot\n\n";
}

std::string ppdText(const Model& m, const std::string& language, int generation, int serial) {
  const std::string modelName = m.name + " " + language;
  char pcName[32];
  std::snprintf(pcName, sizeof pcName, "VL%05d.PPD", serial);
  std::ostringstream o;
  o << "*PPD-Adobe: \"4.3\"\n"
       "*% PPD file for the " << modelName << " printer.\n"
       "*% Plova version: " << generation << "\n"
       "*FormatVersion: \"4.3\"\n"
       "*FileVersion: \"" << generation << ".0\"\n"
       "*LanguageVersion: English\n"
       "*LanguageEncoding: ISOLatin1\n"
       "*PCFileName: \"" << pcName << "\"\n"
       "*Manufacturer: \"Velor\"\n"
       "*ModelName: \"" << modelName << "\"\n"
       "*ShortNickName: \"" << modelName << "\"\n"
       "*NickName: \"" << modelName << ", Plova " << generation << "\"\n"
       "*Product: \"(" << m.name << ")\"\n"
       "*PSVersion: \"(3010.000) 0\"\n"
       "*LanguageLevel: \"3\"\n"
       "*ColorDevice: False\n"
       "*DefaultColorSpace: Gray\n"
       "*FileSystem: False\n"
       "*Throughput: \"20\"\n"
       "*LandscapeOrientation: Plus90\n"
       "*TTRasterizer: Type42\n";
  if (language != "PS") o << "*cupsFilter: \"application/vnd.cups-postscript 100 foomatic-rip\"\n";
  o << "\n";
  paperOptions(o);
  otherOptions(o, generation);
  o << "*DefaultFont: Courier\n"
       "*Font Courier: Standard \"(002.004S)\" Standard ROM\n"
       "*% End of " << modelName << "\n";
  return o.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: ppdgen MODELS_TSV GENERATION OUT_DIR\n";
    return 2;
  }
  const auto models = readModels(argv[1]);
  const int generation = std::stoi(argv[2]);
  const std::string outDir = argv[3];
  if (models.empty()) {
    std::cerr << "ppdgen: no models in " << argv[1] << "\n";
    return 1;
  }
  int serial = 0;
  for (const Model& m : models) {
    for (const std::string& language : languagesOf(m)) {
      const std::string path = outDir + "/" + fileStem(m, language) + ".ppd";
      std::ofstream out(path, std::ios::binary);
      out << ppdText(m, language, generation, ++serial);
      if (!out) {
        std::cerr << "ppdgen: cannot write " << path << "\n";
        return 1;
      }
    }
  }
  return 0;
}
