/*
 * VNFileDialog: the desktop's file chooser for opening and saving, run as a child process
 * (zenity, else kdialog) while the game waits. The engine applies the request's rules to
 * whatever the chooser hands back: the default extension, the existing-file rule, the
 * overwrite question and the length limit. Tests queue answers in place of the chooser.
 */
#pragma once

extern "C"
{

  enum
  {
    VN_FILE_DIALOG_OPEN = 0,
    VN_FILE_DIALOG_SAVE = 1
  };

  /* The longest file name a dialog hands back, and the buffer size that holds it. */
  enum
  {
    VN_FILE_DIALOG_MAX_NAME = 259,
    VN_FILE_DIALOG_BUFFER_SIZE = 260
  };

  typedef struct VNFileDialogRequest
  {
    int mode; /* VN_FILE_DIALOG_OPEN or VN_FILE_DIALOG_SAVE */
    const char* title;
    /* Pairs of description and pattern, each zero-terminated, the list ended by an extra
     * zero; the first pair is the one selected. A pattern may list several globs
     * separated by ';'. Null for no filter. */
    const char* filters;
    /* Appended with a dot to a chosen name that has no extension; null or "" for none. */
    const char* defaultExtension;
    /* Opening only: a name that does not exist is refused. */
    int fileMustExist;
    /* Saving only: choosing an existing file asks before replacing it. */
    int confirmOverwrite;
  } VNFileDialogRequest;

  /* Shows the dialog and blocks until it closes. Returns 1 with the chosen name in `file`
 * (`size` bytes, at least VN_FILE_DIALOG_BUFFER_SIZE to hold the longest name). Returns 0
 * with `file` empty when the user cancels, when neither tool can be run, or when the
 * choice breaks a rule; a broken rule or a missing tool is reported in one line. Mouse
 * buttons and keys read as released afterwards: their changes went to the dialog. */
  int VNSysFileDialog(const VNFileDialogRequest* request, char* file, unsigned int size);

  /* Moves the game window to the screen's top-left corner, keeping its size, and raises it. */
  void VNSysMoveWindowToTopLeft(void);

  /* For tests: the next dialog takes this answer instead of running a tool, as if the user
 * had chosen `fileName` in the chooser (null: cancelled). Answers are used in the order
 * queued and the rules above still apply. The chooser itself asks before replacing the
 * name it returns; when the default extension turns the answer into an existing file,
 * the engine asks, and that question takes the next answer: any name replaces, null keeps. */
  void VNSysFileDialogQueueAnswer(const char* fileName);
  /* Drops every queued answer; later dialogs run the tools again. */
  void VNSysFileDialogClearAnswers(void);
  /* How many dialogs (including overwrite questions) have run since the process started. */
  int VNSysFileDialogGetCount(void);
  /* The title of the last dialog shown, "" before the first. */
  const char* VNSysFileDialogGetLastTitle(void);
}
