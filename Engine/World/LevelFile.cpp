/*
 * LevelFile: the level file format. Reading turns a file into a LevelContent: its map
 * size, its tile layers in file order followed by one layer per event list, and one
 * event record per event. Writing prints a LevelContent through tinyxml2's printer, so
 * the printer's layout is the file layout. Files come from users, so the reader
 * refuses what it cannot use with one line and never trusts a size or a count.
 */
#include "World/LevelFile.h"

#include <limits.h>
#include <stdarg.h>
#include <stdio.h>

#include <tinyxml2.h>

#include "World/LayerData.h"
#include "World/TextFile.h"
#include "World/XmlAttribute.h"

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;
using tinyxml2::XMLPrinter;

const char* const kTiledTilesetFile = "kestrin-tiles.tsx";

namespace
{

const char* const kEventLayer = "EVENTS";

// The most the writer spends on the map element, on a layer besides its name and cells,
// per byte of a layer name (an apostrophe becomes "&apos;"), and per cell: a tile line
// with the longest gid, and an event line with the longest pattern and coordinates.
const size_t kMapWrittenBytes = 256;
const size_t kLayerWrittenBytes = 128;
const size_t kNameByteWrittenBytes = 6;
const size_t kTileWrittenBytes = sizeof("            <tile gid=\"-2147483648\"/>\n") - 1;
const size_t kEventWrittenBytes =
    sizeof(
        "        <event trigger=\"ENEMY\" pattern=\"-2147483648\" X=\"999999\" Y=\"999999\"/>\n") -
    1;

enum EventCode
{
  kCodeKey = 50,
  kCodeSpawn = 101,
  kCodeExit = 102,
  kCodeEnemy = 103
};

std::string sLastReport;

void ReportList(const std::string& fileName, const char* format, va_list args)
{
  char text[512];
  vsnprintf(text, sizeof(text), format, args);
  sLastReport = text;
  printf("Level file %s: %s\n", fileName.c_str(), text);
  fflush(stdout);
}

__attribute__((format(printf, 2, 3))) void Report(const std::string& fileName, const char* format,
                                                  ...)
{
  va_list args;
  va_start(args, format);
  ReportList(fileName, format, args);
  va_end(args);
}

// The code an event puts into its layer; 0 for a trigger the game does not know.
long long EventCode(const std::string& trigger, int pattern)
{
  if (trigger.find("ENEMY") != std::string::npos)
    return static_cast<long long>(kCodeEnemy) + pattern;
  if (trigger == "SPAWN")
    return kCodeSpawn;
  if (trigger == "EXIT")
    return kCodeExit;
  if (trigger == "KEY")
    return kCodeKey;
  return 0;
}

void AddEventsFromLayer(LevelContent& level);

class LevelReader
{
public:
  LevelReader(const std::string& fileName, LevelContent& level) : fileName(fileName), level(level)
  {
  }

  bool ReadMap(const XMLElement* map)
  {
    if (!map)
      return Refuse("no <map> element");
    if (!ParseIntText(map->Attribute("width"), level.width))
      return Refuse("<map> has no numeric \"width\"");
    if (!ParseIntText(map->Attribute("height"), level.height))
      return Refuse("<map> has no numeric \"height\"");
    if (level.width <= 0 || level.height <= 0)
      return Refuse("map size %d x %d is not positive", level.width, level.height);
    long long cells = static_cast<long long>(level.width) * level.height;
    if (cells > kLevelMaxCells)
      return Refuse("map size %d x %d exceeds %d cells", level.width, level.height, kLevelMaxCells);
    cellCount = static_cast<size_t>(cells);
    writtenBytes = kMapWrittenBytes;

    for (const XMLElement* layer = map->FirstChildElement("layer"); layer;
         layer = layer->NextSiblingElement("layer"))
    {
      if (!ReadLayer(layer))
        return false;
    }
    for (const XMLElement* list = map->FirstChildElement("eventlist"); list;
         list = list->NextSiblingElement("eventlist"))
      ReadEventList(list);
    // A map saved by Tiled keeps its markers in the event layer only.
    if (!map->FirstChildElement("eventlist"))
      AddEventsFromLayer(level);
    return true;
  }

private:
  // Reports why the file cannot be used and empties the result.
  __attribute__((format(printf, 2, 3))) bool Refuse(const char* format, ...)
  {
    va_list args;
    va_start(args, format);
    ReportList(fileName, format, args);
    va_end(args);
    level = LevelContent();
    return false;
  }

  // The cells of a layer, made zero-filled on first mention; null when the file asks
  // for more layers than the reader will hold.
  std::vector<int>* Layer(const std::string& name)
  {
    auto found = level.layers.find(name);
    if (found != level.layers.end())
      return &found->second;
    const size_t cellBytes = name == kEventLayer ? kEventWrittenBytes : kTileWrittenBytes;
    const size_t layerBytes =
        kLayerWrittenBytes + kNameByteWrittenBytes * name.size() + cellBytes * cellCount;
    if (writtenBytes + layerBytes > kLevelMaxFileBytes)
    {
      Report(fileName, "too many layers for a %d x %d map to save again; layer \"%.64s\" skipped",
             level.width, level.height, name.c_str());
      return nullptr;
    }
    writtenBytes += layerBytes;
    level.layerNames.push_back(name);
    return &(level.layers[name] = std::vector<int>(cellCount, 0));
  }

  // False when the file is refused.
  bool ReadLayer(const XMLElement* layer)
  {
    const char* name = layer->Attribute("name");
    if (!name)
    {
      Report(fileName, "<layer> on line %d has no \"name\"; skipped", layer->GetLineNum());
      return true;
    }
    const XMLElement* data = layer->FirstChildElement("data");
    if (data && data->Attribute("encoding"))
      return ReadEncodedLayer(name, data);
    std::vector<int>* cells = Layer(name);
    if (!cells || !data)
      return true;
    size_t index = 0;
    for (const XMLElement* tile = data->FirstChildElement("tile"); tile;
         tile = tile->NextSiblingElement("tile"), ++index)
    {
      if (index < cells->size())
        (*cells)[index] = IntAttribute(tile, "gid", -1);
    }
    if (index > cells->size())
      Report(fileName, "layer \"%s\" has %zu tiles for %zu cells; the surplus is ignored", name,
             index, cells->size());
    return true;
  }

  // Layer data as text: Tiled's csv is read, anything else refuses the file.
  bool ReadEncodedLayer(const char* name, const XMLElement* data)
  {
    const std::string unread =
        UnreadEncoding(data->Attribute("encoding"), data->Attribute("compression"));
    if (!unread.empty())
      return Refuse("layer \"%s\" is stored as %s, which is not read; save it with the CSV "
                    "layer format",
                    name, unread.c_str());
    if (data->FirstChildElement("chunk"))
      return Refuse("layer \"%s\" is stored in chunks (an infinite map), which are not read", name);
    std::vector<int>* cells = Layer(name);
    if (!cells)
      return true;
    size_t count = 0;
    std::string error;
    if (!DecodeCsvLayer(data->GetText(), *cells, count, error))
      return Refuse("layer \"%s\": %s", name, error.c_str());
    if (count > cells->size())
      Report(fileName, "layer \"%s\" has %zu tiles for %zu cells; the surplus is ignored", name,
             count, cells->size());
    return true;
  }

  void ReadEventList(const XMLElement* list)
  {
    const char* name = list->Attribute("name");
    std::vector<int>* cells = Layer(name ? name : kEventLayer);
    for (const XMLElement* event = list->FirstChildElement("event"); event;
         event = event->NextSiblingElement("event"))
    {
      const char* trigger = event->Attribute("trigger");
      if (!trigger)
      {
        Report(fileName, "<event> on line %d has no \"trigger\"; skipped", event->GetLineNum());
        continue;
      }
      EventRecord record;
      record.trigger = trigger;
      int x = IntAttribute(event, "X", 0);
      int y = IntAttribute(event, "Y", 0);
      if (record.trigger != "SPAWN" && record.trigger != "EXIT")
        record.pattern = IntAttribute(event, "pattern", 0);
      record.x = static_cast<float>(x);
      record.y = static_cast<float>(y) + 1.0f;
      level.events.push_back(record);

      long long code = EventCode(record.trigger, record.pattern);
      if (!EventOnMap(record, level.width, level.height))
        Report(fileName,
               "event %s at X %d, Y %d lies outside the %d x %d map; no cell set, "
               "nothing spawned",
               trigger, x, y, level.width, level.height);
      else if (code > INT_MAX)
        Report(fileName, "event %s at X %d, Y %d has pattern %d, too large; no cell set", trigger,
               x, y, record.pattern);
      else if (cells)
        (*cells)[static_cast<size_t>(level.height - y - 1) * level.width + x] =
            static_cast<int>(code);
    }
  }

  const std::string& fileName;
  LevelContent& level;
  size_t cellCount = 0;
  // The most the writer can need for what has been kept so far.
  size_t writtenBytes = 0;
};

const char* TriggerFor(int code)
{
  switch (code)
  {
  case kCodeKey: return "KEY";
  case kCodeSpawn: return "SPAWN";
  case kCodeExit: return "EXIT";
  default: return "ENEMY";
  }
}

// One event per marker cell, as reading the event list the writer makes of them would give.
void AddEventsFromLayer(LevelContent& level)
{
  auto found = level.layers.find(kEventLayer);
  if (found == level.layers.end() || level.width <= 0)
    return;
  const std::vector<int>& cells = found->second;
  for (size_t i = 0; i < cells.size(); ++i)
  {
    const int code = cells[i];
    if (code < kCodeKey)
      continue;
    EventRecord record;
    record.trigger = TriggerFor(code);
    if (code != kCodeKey && code != kCodeSpawn && code != kCodeExit)
      record.pattern = code - kCodeEnemy;
    const int row = static_cast<int>(i / level.width);
    record.x = static_cast<float>(i % level.width);
    record.y = static_cast<float>(level.height - row);
    level.events.push_back(record);
  }
}

XMLElement* NewEventList(XMLDocument& document, const LevelContent& level,
                         const std::vector<int>& cells, size_t count)
{
  XMLElement* list = document.NewElement("eventlist");
  list->SetAttribute("name", kEventLayer);
  for (size_t i = 0; i < count; ++i)
  {
    int code = cells[i];
    if (code < kCodeKey)
      continue;
    XMLElement* event = document.NewElement("event");
    event->SetAttribute("trigger", TriggerFor(code));
    if (code != kCodeKey && code != kCodeSpawn && code != kCodeExit)
      event->SetAttribute("pattern", code - kCodeEnemy);
    int row = static_cast<int>(i / level.width);
    event->SetAttribute("X", static_cast<int>(i % level.width));
    event->SetAttribute("Y", level.height - row - 1);
    list->InsertEndChild(event);
  }
  return list;
}

// What Tiled needs to open the map: its orientation and the tileset of the game's images.
void AddTiledMapParts(XMLDocument& document, XMLElement* map)
{
  map->SetAttribute("version", "1.10");
  map->SetAttribute("orientation", "orthogonal");
  map->SetAttribute("renderorder", "right-down");
  map->SetAttribute("infinite", 0);
  XMLElement* tileset = document.NewElement("tileset");
  tileset->SetAttribute("firstgid", 1);
  tileset->SetAttribute("source", kTiledTilesetFile);
  map->InsertEndChild(tileset);
}

XMLElement* NewLayer(XMLDocument& document, const LevelContent& level, const std::string& name)
{
  XMLElement* layer = document.NewElement("layer");
  layer->SetAttribute("name", name.c_str());
  layer->SetAttribute("width", level.width);
  layer->SetAttribute("height", level.height);
  return layer;
}

// The event layer's cells in Tiled's csv form, one line per row, so that Tiled shows the
// markers and a map saved by Tiled (which drops the event list) keeps them. Gids are never
// negative: such cells are written empty, as the event list leaves them.
XMLElement* NewCsvLayer(XMLDocument& document, const LevelContent& level, const std::string& name,
                        const std::vector<int>& cells, size_t count)
{
  std::string text = "\n";
  for (size_t i = 0; i < count; ++i)
  {
    text += std::to_string(cells[i] > 0 ? cells[i] : 0);
    if (i + 1 < count)
      text += (i + 1) % static_cast<size_t>(level.width) == 0 ? ",\n" : ",";
  }
  text += "\n";
  XMLElement* layer = NewLayer(document, level, name);
  XMLElement* data = layer->InsertNewChildElement("data");
  data->SetAttribute("encoding", "csv");
  data->SetText(text.c_str());
  return layer;
}

XMLElement* NewTileLayer(XMLDocument& document, const LevelContent& level, const std::string& name,
                         const std::vector<int>& cells, size_t count)
{
  XMLElement* layer = NewLayer(document, level, name);
  XMLElement* data = document.NewElement("data");
  for (size_t i = 0; i < count; ++i)
  {
    XMLElement* tile = document.NewElement("tile");
    tile->SetAttribute("gid", cells[i]);
    data->InsertEndChild(tile);
  }
  layer->InsertEndChild(data);
  return layer;
}

} // namespace

bool EventOnMap(const EventRecord& record, int width, int height)
{
  return record.x >= 0.0f && record.x < static_cast<float>(width) && record.y >= 1.0f &&
         record.y <= static_cast<float>(height);
}

bool ParseLevelFile(const char* text, size_t size, const std::string& fileName, LevelContent& level)
{
  level = LevelContent();
  XMLDocument document(true);
  if (!text || document.Parse(text, size) != tinyxml2::XML_SUCCESS)
  {
    document.PrintError();
    Report(fileName, "not a well-formed XML document (%s)",
           text ? document.ErrorName() : "no text");
    return false;
  }
  LevelReader reader(fileName, level);
  return reader.ReadMap(document.FirstChildElement("map"));
}

bool ReadLevelFile(const std::string& fileName, LevelContent& level)
{
  level = LevelContent();
  std::string text;
  std::string error;
  if (!ReadTextFile(fileName, kLevelMaxFileBytes, text, error))
  {
    Report(fileName, "cannot be read (%s)", error.c_str());
    return false;
  }
  return ParseLevelFile(text.data(), text.size(), fileName, level);
}

std::string FormatLevelFile(const LevelContent& level)
{
  XMLDocument document;
  XMLElement* map = document.NewElement("map");
  map->SetAttribute("width", level.width);
  map->SetAttribute("height", level.height);
  map->SetAttribute("tilewidth", level.tileWidth);
  map->SetAttribute("tileheight", level.tileHeight);
  document.InsertFirstChild(map);
  AddTiledMapParts(document, map);

  size_t cellCount = 0;
  if (level.width > 0 && level.height > 0)
    cellCount = static_cast<size_t>(level.width) * static_cast<size_t>(level.height);
  for (const std::string& name : level.layerNames)
  {
    auto found = level.layers.find(name);
    if (found == level.layers.end())
      continue;
    const std::vector<int>& cells = found->second;
    size_t count = cells.size() < cellCount ? cells.size() : cellCount;
    if (name == kEventLayer)
    {
      map->InsertEndChild(NewCsvLayer(document, level, name, cells, count));
      map->InsertEndChild(NewEventList(document, level, cells, count));
    }
    else
    {
      map->InsertEndChild(NewTileLayer(document, level, name, cells, count));
    }
  }

  XMLPrinter printer;
  document.Print(&printer);
  return std::string(printer.CStr(), static_cast<size_t>(printer.CStrSize() - 1));
}

bool WriteLevelFile(const std::string& fileName, const LevelContent& level)
{
  std::string error;
  if (ReplaceTextFile(fileName, FormatLevelFile(level), error))
    return true;
  Report(fileName, "not saved: %s; the previous file is unchanged", error.c_str());
  return false;
}

const std::string& LevelFileLastReport()
{
  return sLastReport;
}
