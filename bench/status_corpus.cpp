#include "bench/status_corpus.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace brisko::bench {
namespace {

// splitmix32-style generator: fixed arithmetic, so the corpus is the same
// with every compiler and standard library.
class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed) {}
  std::uint32_t next() {
    std::uint32_t z = (state_ += 0x9E3779B9u);
    z = (z ^ (z >> 16)) * 0x85EBCA6Bu;
    z = (z ^ (z >> 13)) * 0xC2B2AE35u;
    return z ^ (z >> 16);
  }
  std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
  double unit() { return next() / 4294967296.0; }

 private:
  std::uint32_t state_;
};

template <std::size_t N>
const char* pick(Random& random, const char* const (&items)[N]) {
  return items[random.below(N)];
}

// Windows-1250 bytes; the Unicode word beside each.
const char* const kWords[] = {
    "jestem",              // jestem
    "zaraz",               // zaraz
    "wracam",              // wracam
    "nie",                 // nie
    "ma",                  // ma
    "mnie",                // mnie
    "przy",                // przy
    "komputerze",          // komputerze
    "zapraszam",           // zapraszam
    "na",                  // na
    "moj\xb9",             // moją
    "stron\xea",           // stronę
    "zobaczcie",           // zobaczcie
    "nowe",                // nowe
    "zdj\xea\x63ia",       // zdjęcia
    "z",                   // z
    "wakacji",             // wakacji
    "\x9cwietny",          // świetny
    "koncert",             // koncert
    "wczoraj",             // wczoraj
    "wieczorem",           // wieczorem
    "gdzie",               // gdzie
    "jeste\x9c",           // jesteś
    "pozdrawiam",          // pozdrawiam
    "wszystkich",          // wszystkich
    "znajomych",           // znajomych
    "szukam",              // szukam
    "pracy",               // pracy
    "w",                   // w
    "Warszawie",           // Warszawie
    "sprzedam",            // sprzedam
    "rower",               // rower
    "g\xf3rski",           // górski
    "tanio",               // tanio
    "\x9fr\xf3\x64\xb3o",  // źródło
    "wiedzy",              // wiedzy
    "\xbf\xf3\xb3w",       // żółw
    "\xe6ma",              // ćma
    "\x9cnieg",            // śnieg
    "d\x9fwi\xeak",        // dźwięk
    "pi\xea\xe6",          // pięć
    "jeszcze",             // jeszcze
    "troch\xea",           // trochę
    "p\xf3\x9fniej",       // później
    "Krak\xf3w",           // Kraków
    "Gda\xf1sk",           // Gdańsk
    "Pozna\xf1",           // Poznań
    "Wroc\xb3\x61w",       // Wrocław
    "\xa3\xf3\x64\x9f",    // Łódź
    "Zakopane",            // Zakopane
    "pi\xb9tek",           // piątek
    "sobota",              // sobota
    "m\xf3j",              // mój
    "blog",                // blog
    "napisz",              // napisz
    "do",                  // do
    "zadzwo\xf1",          // zadzwoń
    "jutro",               // jutro
    "dzi\xeakuj\xea",      // dziękuję
    "za",                  // za
    "\xbfyczenia",         // życzenia
    "w\xb3\x61\x9cnie",    // właśnie
    "s\xb3ucham",          // słucham
    "muzyki",              // muzyki
    "ogl\xb9\x64\x61m",    // oglądam
    "film",                // film
    "ksi\xb9\xbfk\xea",    // książkę
    "ucz\xea",             // uczę
    "si\xea",              // się
    "egzaminu",            // egzaminu
    "id\xea",              // idę
    "spa\xe6",             // spać
    "dobranoc",            // dobranoc
    ":)",                  // :)
    ";-)",                 // ;-)
};

const char* const kSeparators[] = {" ", " ", " ", " ", ", ", ". ", " - ", "! ", "\r\n", " (", ") "};

const char* const kDomains[] = {
    "onet.pl",         "wp.pl",
    "interia.pl",      "allegro.pl",
    "gazeta.pl",       "example.com",
    "wikipedia.org",   "uw.edu.pl",
    "Nasza-Klasa.pl",  "sklep-rowerowy.com.pl",
    "radio.krakow.pl", "moj-blog.blogspot.com",
};

const char* const kPaths[] = {
    "",
    "",
    "/",
    "/index.html",
    "/blog/2024/05/wpis?id=17&s=2",
    "/~jan/zdj\xea\x63ia/",  // zdjęcia
    "/a_b/c-d.php?x=%20&y=1",
    "/Galeria/Wakacje2024/IMG_0042.JPG",
    "/watch?v=dQw4w9WgXcQ",
};

std::string upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
  }
  return text;
}

std::string makeLink(Random& random) {
  const std::string domain = pick(random, kDomains);
  const std::string path = pick(random, kPaths);
  switch (random.below(12)) {
    case 0:
      return "http://" + domain + path;
    case 1:
      return "http:\\\\" + domain;
    case 2:
      return "www." + domain + path;
    case 3:
      return "http://www." + domain + path;
    case 4:
      return "HTTP://WWW." + upper(domain) + upper(path);
    case 5:
      return "https://www." + domain + path;
    case 6:
      return "https://" + domain + path;
    case 7:
      return domain + path;  // a bare domain
    case 8:
      return "jan.kowalski@" + domain;
    case 9:
      return "ftp://ftp." + domain + "/pub";
    case 10:
      return "Www." + domain + ":8080" + path;
    default:
      return "www." + domain;
  }
}

}  // namespace

std::vector<std::string> makeStatusCorpus(std::uint32_t seed, std::size_t count) {
  Random random(seed);
  std::vector<std::string> corpus;
  corpus.reserve(count);
  const double span = std::log(4096.0 / 10.0);
  for (std::size_t i = 0; i < count; ++i) {
    const auto length = static_cast<std::size_t>(10.0 * std::exp(random.unit() * span));
    std::string status;
    while (status.size() < length) {
      if (!status.empty()) status += pick(random, kSeparators);
      if (random.below(100) < 15) {
        status += makeLink(random);
      } else {
        status += pick(random, kWords);
      }
    }
    status.resize(length < 10 ? 10 : length);
    corpus.push_back(std::move(status));
  }
  return corpus;
}

std::vector<std::string> shortStatuses(const std::vector<std::string>& corpus,
                                       std::size_t maxLength) {
  std::vector<std::string> result;
  for (const std::string& status : corpus) {
    if (status.size() <= maxLength) result.push_back(status);
  }
  return result;
}

std::size_t totalBytes(const std::vector<std::string>& corpus) {
  std::size_t total = 0;
  for (const std::string& status : corpus) total += status.size();
  return total;
}

}  // namespace brisko::bench
