/*
 * TextFile: reading user files with a size cap and replacing files safely. A save goes to
 * a temporary file beside the target and is renamed over it only once every byte is
 * written and synced, so a full disk or a crash mid-save keeps the previous file. A save
 * through a symbolic link replaces the file the link points to and keeps the link.
 */
#include "World/TextFile.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

bool ReadTextFile(const std::string& fileName, size_t maxBytes, std::string& text,
                  std::string& error)
{
  text.clear();
  // Non-blocking, so that opening a FIFO without a writer returns at once and is refused
  // below rather than waiting for one; reads of a regular file never block anyway.
  int fd = open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0)
  {
    error = strerror(errno);
    return false;
  }

  struct stat info;
  bool ok = false;
  if (fstat(fd, &info) != 0)
    error = strerror(errno);
  else if (!S_ISREG(info.st_mode))
    error = "not a regular file";
  else if (static_cast<unsigned long long>(info.st_size) > maxBytes)
    error = "larger than " + std::to_string(maxBytes) + " bytes";
  else
  {
    text.resize(static_cast<size_t>(info.st_size));
    size_t done = 0;
    ok = true;
    while (done < text.size())
    {
      ssize_t got = read(fd, &text[done], text.size() - done);
      if (got < 0 && errno == EINTR)
        continue;
      if (got < 0)
      {
        error = strerror(errno);
        ok = false;
        break;
      }
      if (got == 0)
      {
        // The file shrank while we read it; keep what is there.
        text.resize(done);
        break;
      }
      done += static_cast<size_t>(got);
    }
  }
  close(fd);
  if (!ok)
    text.clear();
  return ok;
}

namespace
{

std::string FolderOf(const std::string& fileName)
{
  size_t slash = fileName.find_last_of('/');
  if (slash == std::string::npos)
    return ".";
  if (slash == 0)
    return "/";
  return fileName.substr(0, slash);
}

// The mode a newly created file would get, or the existing file's own.
mode_t ModeFor(const std::string& fileName)
{
  struct stat info;
  if (stat(fileName.c_str(), &info) == 0 && S_ISREG(info.st_mode))
    return info.st_mode & 07777;
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// The file a save to fileName replaces: fileName with the symbolic links of its last
// component followed. A dangling link names the file to create.
bool FollowLinks(const std::string& fileName, std::string& target, std::string& error)
{
  const int kMaxLinks = 40;
  target = fileName;
  for (int links = 0; links < kMaxLinks; ++links)
  {
    struct stat info;
    if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
      return true;
    std::string link(PATH_MAX, '\0');
    const ssize_t length = readlink(target.c_str(), &link[0], link.size());
    if (length < 0 || static_cast<size_t>(length) >= link.size())
    {
      error = "cannot follow the link " + target + " (" +
              (length < 0 ? strerror(errno) : "target name too long") + ")";
      return false;
    }
    link.resize(static_cast<size_t>(length));
    target = link[0] == '/' ? link : FolderOf(target) + "/" + link;
  }
  error = "too many symbolic links from " + fileName;
  return false;
}

bool WriteAll(int fd, const std::string& text)
{
  size_t done = 0;
  while (done < text.size())
  {
    ssize_t written = write(fd, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR)
      continue;
    if (written == 0)
      errno = EIO;
    if (written <= 0)
      return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

} // namespace

bool ReplaceTextFile(const std::string& fileName, const std::string& text, std::string& error)
{
  if (fileName.empty())
  {
    error = "no file name";
    return false;
  }
  std::string target;
  if (!FollowLinks(fileName, target, error))
    return false;
  struct stat existing;
  if (stat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode))
  {
    error = target + " is not a regular file";
    return false;
  }
  std::string folder = FolderOf(target);
  std::string tempName = folder + "/.kestrin-save-XXXXXX";
  int fd = mkstemp(&tempName[0]);
  if (fd < 0)
  {
    error = "cannot create a temporary file in " + folder + " (" + strerror(errno) + ")";
    return false;
  }
  // mkstemp makes the file private; give it the mode the target has or would have.
  // Some file systems refuse modes, which does not make the save fail.
  (void)fchmod(fd, ModeFor(target));

  const char* failedStep = nullptr;
  if (!WriteAll(fd, text))
    failedStep = "write";
  else if (fsync(fd) != 0)
    failedStep = "sync";
  int savedErrno = errno;
  if (close(fd) != 0 && !failedStep)
  {
    failedStep = "close";
    savedErrno = errno;
  }
  if (!failedStep && rename(tempName.c_str(), target.c_str()) != 0)
  {
    failedStep = "rename";
    savedErrno = errno;
  }
  if (failedStep)
  {
    unlink(tempName.c_str());
    error = std::string(failedStep) + " failed (" + strerror(savedErrno) + ")";
    return false;
  }

  // Make the rename itself durable; not every file system can sync a folder.
  int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0)
  {
    fsync(folderFd);
    close(folderFd);
  }
  return true;
}
