// The job file of one send of the command line: a file of its own in the temporary folder
// (its path bounded as the dialog's, by JobFilePathIn),
// so that two sends at once never share (or overwrite, or map) one file. It is created
// exclusively under a name nobody else has taken, so a planted file or link under that
// name is never followed, readable and writable by the user alone, and removed when the
// object goes, whatever the send's outcome.
//
//   CPrivateJobFile file;
//   if (file.Path().empty()) ... file.Error() ...;
//   session.WriteJobFile(job, file.Path(), options);
#pragma once

#include <string>

class CPrivateJobFile {
 public:
  // Creates an empty file "plotgate-*.hb" in the temporary folder.
  CPrivateJobFile();
  // Removes the file.
  ~CPrivateJobFile();
  CPrivateJobFile(const CPrivateJobFile&) = delete;
  CPrivateJobFile& operator=(const CPrivateJobFile&) = delete;

  // The file's path; "" when it could not be created.
  const std::string& Path() const { return m_sPath; }
  // Why it could not be created: the system's error number; 0 when it was.
  int Error() const { return m_nError; }

 private:
  std::string m_sPath;
  int m_nError = 0;
};
