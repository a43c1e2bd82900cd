<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>MeasuringStatus</name>
    <message>
        <source>Measuring loop running: measuring now</source>
        <translation>Measuring loop running: measuring now</translation>
    </message>
    <message>
        <source>Measuring loop running: next round at %1</source>
        <translation>Measuring loop running: next round at %1</translation>
    </message>
    <message>
        <source>Measuring loop without its port: next try at %1</source>
        <translation>Measuring loop without its port: next try at %1</translation>
    </message>
    <message>
        <source>Measuring is running. Stop measuring and close?</source>
        <translation>Measuring is running. Stop measuring and close?</translation>
    </message>
</context>
<context>
    <name>PortOutageNotice</name>
    <message>
        <source>Not answering, so not measured: %1. They are asked again every %2 minutes and measured as soon as they answer.</source>
        <translation>Not answering, so not measured: %1. They are asked again every %2 minutes and measured as soon as they answer.</translation>
    </message>
    <message>
        <source>none in this measurement</source>
        <translation>none in this measurement</translation>
    </message>
    <message>
        <source>Connection to %1 lost at %2. Last stored values: %3. The port is tried every %4 s; measuring goes on by itself when the device answers again.</source>
        <translation>Connection to %1 lost at %2. Last stored values: %3. The port is tried every %4 s; measuring goes on by itself when the device answers again.</translation>
    </message>
    <message>
        <source>Connection to %1 back at %2 after a gap of %3 (since %4); measuring goes on.</source>
        <translation>Connection to %1 back at %2 after a gap of %3 (since %4); measuring goes on.</translation>
    </message>
</context>
<context>
    <name>SessionEnd</name>
    <message>
        <source>Terrix ends the running work: a measurement stops after the current module.</source>
        <translation>Terrix ends the running work: a measurement stops after the current module.</translation>
    </message>
</context>
<context>
    <name>Terrix</name>
    <message>
        <source>&amp;File</source>
        <comment>128</comment>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <comment>128</comment>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <comment>128</comment>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <comment>128</comment>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>&amp;Misc.</source>
        <comment>128</comment>
        <translation>&amp;Misc.</translation>
    </message>
    <message>
        <source>&amp;Bus</source>
        <comment>128</comment>
        <translation>&amp;Bus</translation>
    </message>
    <message>
        <source>Serial &amp;Comport</source>
        <comment>128</comment>
        <translation>Serial &amp;Comport</translation>
    </message>
    <message>
        <source>&amp;Maintenance</source>
        <comment>128</comment>
        <translation>&amp;Maintenance</translation>
    </message>
    <message>
        <source>&amp;?</source>
        <comment>128</comment>
        <translation>&amp;?</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <comment>57600</comment>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <comment>57601</comment>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <comment>57603</comment>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <comment>57604</comment>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <comment>57607</comment>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <comment>57609</comment>
        <translation>Print Pre&amp;view</translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <comment>57606</comment>
        <translation>P&amp;rint Setup...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <comment>57665</comment>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <comment>57643</comment>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <comment>57635</comment>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <comment>57634</comment>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <comment>57637</comment>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <comment>59392</comment>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <comment>59393</comment>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>&amp;german</source>
        <comment>32777</comment>
        <translation>&amp;german</translation>
    </message>
    <message>
        <source>&amp;english</source>
        <comment>32778</comment>
        <translation>&amp;english</translation>
    </message>
    <message>
        <source>Insert &amp;chart</source>
        <comment>32771</comment>
        <translation>Insert &amp;chart</translation>
    </message>
    <message>
        <source>Serial Comport1</source>
        <comment>32819</comment>
        <translation>Serial Comport1</translation>
    </message>
    <message>
        <source>Serial Comport2</source>
        <comment>32820</comment>
        <translation>Serial Comport2</translation>
    </message>
    <message>
        <source>Serial Comport3</source>
        <comment>32821</comment>
        <translation>Serial Comport3</translation>
    </message>
    <message>
        <source>Serial Comport4</source>
        <comment>32824</comment>
        <translation>Serial Comport4</translation>
    </message>
    <message>
        <source>&amp;display</source>
        <comment>32775</comment>
        <translation>&amp;display</translation>
    </message>
    <message>
        <source>&amp;scan completely</source>
        <comment>32773</comment>
        <translation>&amp;scan completely</translation>
    </message>
    <message>
        <source>scan only for known modules</source>
        <comment>32784</comment>
        <translation>scan only for known modules</translation>
    </message>
    <message>
        <source>&amp;Forget bus info</source>
        <comment>32786</comment>
        <translation>&amp;Forget bus info</translation>
    </message>
    <message>
        <source>&amp;Scan bus</source>
        <comment>32787</comment>
        <translation>&amp;Scan bus</translation>
    </message>
    <message>
        <source>Create &amp;collision on bus</source>
        <comment>32780</comment>
        <translation>Create &amp;collision on bus</translation>
    </message>
    <message>
        <source>&amp;Resolve collisions</source>
        <comment>32782</comment>
        <translation>&amp;Resolve collisions</translation>
    </message>
    <message>
        <source>&amp;Measure</source>
        <comment>32776</comment>
        <translation>&amp;Measure</translation>
    </message>
    <message>
        <source>&amp;About Terrix...</source>
        <comment>57664</comment>
        <translation>&amp;About Terrix...</translation>
    </message>
    <message>
        <source>Create a new document
New</source>
        <comment>57600</comment>
        <translation>Create a new document
New</translation>
    </message>
    <message>
        <source>Open an existing document
Open</source>
        <comment>57601</comment>
        <translation>Open an existing document
Open</translation>
    </message>
    <message>
        <source>Save the active document
Save</source>
        <comment>57603</comment>
        <translation>Save the active document
Save</translation>
    </message>
    <message>
        <source>Save the active document with a new name
Save As</source>
        <comment>57604</comment>
        <translation>Save the active document with a new name
Save As</translation>
    </message>
    <message>
        <source>Print the active document
Print</source>
        <comment>57607</comment>
        <translation>Print the active document
Print</translation>
    </message>
    <message>
        <source>Display full pages
Print Preview</source>
        <comment>57609</comment>
        <translation>Display full pages
Print Preview</translation>
    </message>
    <message>
        <source>Change the printer and printing options
Print Setup</source>
        <comment>57606</comment>
        <translation>Change the printer and printing options
Print Setup</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents
Exit</source>
        <comment>57665</comment>
        <translation>Quit the application; prompts to save documents
Exit</translation>
    </message>
    <message>
        <source>Undo the last action
Undo</source>
        <comment>57643</comment>
        <translation>Undo the last action
Undo</translation>
    </message>
    <message>
        <source>Cut the selection and put it on the Clipboard
Cut</source>
        <comment>57635</comment>
        <translation>Cut the selection and put it on the Clipboard
Cut</translation>
    </message>
    <message>
        <source>Copy the selection and put it on the Clipboard
Copy</source>
        <comment>57634</comment>
        <translation>Copy the selection and put it on the Clipboard
Copy</translation>
    </message>
    <message>
        <source>Insert Clipboard contents
Paste</source>
        <comment>57637</comment>
        <translation>Insert Clipboard contents
Paste</translation>
    </message>
    <message>
        <source>Show or hide the toolbar
Toggle ToolBar</source>
        <comment>59392</comment>
        <translation>Show or hide the toolbar
Toggle ToolBar</translation>
    </message>
    <message>
        <source>Show or hide the status bar
Toggle StatusBar</source>
        <comment>59393</comment>
        <translation>Show or hide the status bar
Toggle StatusBar</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright
About</source>
        <comment>57664</comment>
        <translation>Display program information, version number and copyright
About</translation>
    </message>
    <message>
        <source>Switch the user interface to German
German</source>
        <comment>32777</comment>
        <translation>Switch the user interface to German
German</translation>
    </message>
    <message>
        <source>Switch the user interface to English
English</source>
        <comment>32778</comment>
        <translation>Switch the user interface to English
English</translation>
    </message>
    <message>
        <source>Insert a chart
Insert chart</source>
        <comment>32771</comment>
        <translation>Insert a chart
Insert chart</translation>
    </message>
    <message>
        <source>Use serial port COM1 for the NKP-Bus
COM1</source>
        <comment>32819</comment>
        <translation>Use serial port COM1 for the NKP-Bus
COM1</translation>
    </message>
    <message>
        <source>Use serial port COM2 for the NKP-Bus
COM2</source>
        <comment>32820</comment>
        <translation>Use serial port COM2 for the NKP-Bus
COM2</translation>
    </message>
    <message>
        <source>Use serial port COM3 for the NKP-Bus
COM3</source>
        <comment>32821</comment>
        <translation>Use serial port COM3 for the NKP-Bus
COM3</translation>
    </message>
    <message>
        <source>Use serial port COM4 for the NKP-Bus
COM4</source>
        <comment>32824</comment>
        <translation>Use serial port COM4 for the NKP-Bus
COM4</translation>
    </message>
    <message>
        <source>Lists all found modules</source>
        <comment>32775</comment>
        <translation>Lists all found modules</translation>
    </message>
    <message>
        <source>Scan the whole bus for modules
Scan completely</source>
        <comment>32773</comment>
        <translation>Scan the whole bus for modules
Scan completely</translation>
    </message>
    <message>
        <source>Scan the bus for the known modules only
Scan for known modules</source>
        <comment>32784</comment>
        <translation>Scan the bus for the known modules only
Scan for known modules</translation>
    </message>
    <message>
        <source>Forget all module info</source>
        <comment>32786</comment>
        <translation>Forget all module info</translation>
    </message>
    <message>
        <source>Scan the bus for modules
Scan bus</source>
        <comment>32787</comment>
        <translation>Scan the bus for modules
Scan bus</translation>
    </message>
    <message>
        <source>Give every known module the same station number
Create collision</source>
        <comment>32780</comment>
        <translation>Give every known module the same station number
Create collision</translation>
    </message>
    <message>
        <source>Resolve the address collisions on the bus
Resolve collisions</source>
        <comment>32782</comment>
        <translation>Resolve the address collisions on the bus
Resolve collisions</translation>
    </message>
    <message>
        <source>Measure
Measure</source>
        <comment>32776</comment>
        <translation>Measure
Measure</translation>
    </message>
    <message>
        <source>Ready</source>
        <comment>57345</comment>
        <translation>Ready</translation>
    </message>
    <message>
        <source>hh:mm:ss</source>
        <comment>101</comment>
        <translation>hh:mm:ss</translation>
    </message>
    <message>
        <source>Terrix

Terrix


Terrix.Document
Terrix Document</source>
        <comment>128</comment>
        <translation>Terrix

Terrix


Terrix.Document
Terrix Document</translation>
    </message>
    <message>
        <source>About Terrix</source>
        <comment>100</comment>
        <translation>About Terrix</translation>
    </message>
    <message>
        <source>Display measuring values</source>
        <comment>32783</comment>
        <translation>Display measuring values</translation>
    </message>
    <message>
        <source>Edit user info</source>
        <comment>32788</comment>
        <translation>Edit user info</translation>
    </message>
    <message>
        <source>(De-)activate module</source>
        <comment>32789</comment>
        <translation>(De-)activate module</translation>
    </message>
    <message>
        <source>Remove module</source>
        <comment>32781</comment>
        <translation>Remove module</translation>
    </message>
    <message>
        <source>Rescan module</source>
        <comment>32774</comment>
        <translation>Rescan module</translation>
    </message>
    <message>
        <source>Change station number</source>
        <comment>32779</comment>
        <translation>Change station number</translation>
    </message>
    <message>
        <source>Recreate ASCII meas. data</source>
        <comment>32805</comment>
        <translation>Recreate ASCII meas. data</translation>
    </message>
    <message>
        <source>Change Reset Baudrate</source>
        <comment>32806</comment>
        <translation>Change Reset Baudrate</translation>
    </message>
    <message>
        <source>Change Limit for Error66 Activation</source>
        <comment>32807</comment>
        <translation>Change Limit for Error66 Activation</translation>
    </message>
    <message>
        <source>First measurement value
First measurement value</source>
        <comment>32792</comment>
        <translation>First measurement value
First measurement value</translation>
    </message>
    <message>
        <source>Scroll one page backwards
One page back</source>
        <comment>32793</comment>
        <translation>Scroll one page backwards
One page back</translation>
    </message>
    <message>
        <source>One measurement value backwards
One meas. value back</source>
        <comment>32794</comment>
        <translation>One measurement value backwards
One meas. value back</translation>
    </message>
    <message>
        <source>One measurement value forwards
One meas. value forw.</source>
        <comment>32795</comment>
        <translation>One measurement value forwards
One meas. value forw.</translation>
    </message>
    <message>
        <source>Scroll one page forewards
One page forewards</source>
        <comment>32796</comment>
        <translation>Scroll one page forewards
One page forewards</translation>
    </message>
    <message>
        <source>Last measurement value
Last measurement value</source>
        <comment>32797</comment>
        <translation>Last measurement value
Last measurement value</translation>
    </message>
    <message>
        <source>Line chart w/o markers for meas. values
Line chart w/o markers for meas. values</source>
        <comment>32798</comment>
        <translation>Line chart w/o markers for meas. values
Line chart w/o markers for meas. values</translation>
    </message>
    <message>
        <source>Plot
Plot</source>
        <comment>32801</comment>
        <translation>Plot
Plot</translation>
    </message>
    <message>
        <source>Samples Per Plot
Samples Per Plot</source>
        <comment>32803</comment>
        <translation>Samples Per Plot
Samples Per Plot</translation>
    </message>
    <message>
        <source>Number of first meas. value on plot</source>
        <comment>32799</comment>
        <translation>Number of first meas. value on plot</translation>
    </message>
    <message>
        <source>Number of sampled meas. values</source>
        <comment>32800</comment>
        <translation>Number of sampled meas. values</translation>
    </message>
    <message>
        <source>Samples Per Plot</source>
        <comment>32803</comment>
        <translation>Samples Per Plot</translation>
    </message>
    <message>
        <source>Increments/decrements SPP value</source>
        <comment>32804</comment>
        <translation>Increments/decrements SPP value</translation>
    </message>
    <message>
        <source>Keine Module gefunden.</source>
        <comment>32790</comment>
        <translation>Keine Module gefunden.</translation>
    </message>
    <message>
        <source>Installation error. This application needs a newer version of the Qt libraries.
Its version has to be at least %1.
  Please install a newer version of these libraries.</source>
        <comment>24577</comment>
        <translation>Installation error. This application needs a newer version of the Qt libraries.
Its version has to be at least %1.
  Please install a newer version of these libraries.</translation>
    </message>
    <message>
        <source>Activating already started application...</source>
        <comment>24578</comment>
        <translation>Activating already started application...</translation>
    </message>
    <message>
        <source>Could&apos;nt activate already started application! Please do it yourself!</source>
        <comment>24579</comment>
        <translation>Could&apos;nt activate already started application! Please do it yourself!</translation>
    </message>
    <message>
        <source>Are you sure to create collisions on this NKP-Bus?</source>
        <comment>24627</comment>
        <translation>Are you sure to create collisions on this NKP-Bus?</translation>
    </message>
    <message>
        <source>Please select a module before using this function!</source>
        <comment>24637</comment>
        <translation>Please select a module before using this function!</translation>
    </message>
    <message>
        <source>This function is not valid for a module of that status!</source>
        <comment>24638</comment>
        <translation>This function is not valid for a module of that status!</translation>
    </message>
    <message>
        <source>This function is only valid for enabled modules!</source>
        <comment>24639</comment>
        <translation>This function is only valid for enabled modules!</translation>
    </message>
    <message>
        <source>Error accessing ComPort while setting station number!</source>
        <comment>24640</comment>
        <translation>Error accessing ComPort while setting station number!</translation>
    </message>
    <message>
        <source>Error on setting station number!</source>
        <comment>24641</comment>
        <translation>Error on setting station number!</translation>
    </message>
    <message>
        <source>Opening COM port...</source>
        <comment>24647</comment>
        <translation>Opening COM port...</translation>
    </message>
    <message>
        <source>Resynchronizing module...</source>
        <comment>24648</comment>
        <translation>Resynchronizing module...</translation>
    </message>
    <message>
        <source>No RS232 cable detected.
  Please, check if this cable is connected to the PC
  or if it is confirming to the NKP bus specification.</source>
        <comment>24651</comment>
        <translation>No RS232 cable detected.
  Please, check if this cable is connected to the PC
  or if it is confirming to the NKP bus specification.</translation>
    </message>
    <message>
        <source>COM-Port no longer available (although having been available before).
To resolve the problem, please
  check if meanwhile another program has been started that uses this COM port
  check if RS232 cable is still connected to PC and central module
  check if RS232 cable has been damaged
</source>
        <comment>24652</comment>
        <translation>COM-Port no longer available (although having been available before).
To resolve the problem, please
  check if meanwhile another program has been started that uses this COM port
  check if RS232 cable is still connected to PC and central module
  check if RS232 cable has been damaged
</translation>
    </message>
    <message>
        <source>No answer from any module! Hints for resolving the problem:
  Please, check for power on the measuring circuit (Power LED at PX-ROV4/PX-23R).
  Please, check connection between the central module (PX-ROV4/PX-23R) and PC
  (or if appropriate from Terrix module to PC).
  Please, check the connections between the central module and its connected client ones.
  If appropriate try to completely rescan the NKP-bus.</source>
        <comment>24653</comment>
        <translation>No answer from any module! Hints for resolving the problem:
  Please, check for power on the measuring circuit (Power LED at PX-ROV4/PX-23R).
  Please, check connection between the central module (PX-ROV4/PX-23R) and PC
  (or if appropriate from Terrix module to PC).
  Please, check the connections between the central module and its connected client ones.
  If appropriate try to completely rescan the NKP-bus.</translation>
    </message>
    <message>
        <source>No Module were found at the bus; also earlier none were found. Therefore the module list is empty.</source>
        <comment>24654</comment>
        <translation>No Module were found at the bus; also earlier none were found. Therefore the module list is empty.</translation>
    </message>
    <message>
        <source>Unable to open any COM ports.</source>
        <comment>24655</comment>
        <translation>Unable to open any COM ports.</translation>
    </message>
    <message>
        <source>Not enough timers available for this window!</source>
        <comment>24656</comment>
        <translation>Not enough timers available for this window!</translation>
    </message>
    <message>
        <source>Collisions are still available!</source>
        <comment>24657</comment>
        <translation>Collisions are still available!</translation>
    </message>
    <message>
        <source>Are you sure to delete this measuring values?</source>
        <comment>24667</comment>
        <translation>Are you sure to delete this measuring values?</translation>
    </message>
    <message>
        <source>Are you sure to delete all measuring values?</source>
        <comment>24668</comment>
        <translation>Are you sure to delete all measuring values?</translation>
    </message>
    <message>
        <source>Failed to delete measuring values!</source>
        <comment>24669</comment>
        <translation>Failed to delete measuring values!</translation>
    </message>
    <message>
        <source>The module could not flawlessly be addressed!</source>
        <comment>24671</comment>
        <translation>The module could not flawlessly be addressed!</translation>
    </message>
    <message>
        <source>No module selected!</source>
        <comment>24707</comment>
        <translation>No module selected!</translation>
    </message>
    <message>
        <source>This function is invalid for module of that status!</source>
        <comment>24708</comment>
        <translation>This function is invalid for module of that status!</translation>
    </message>
    <message>
        <source>Are you sure to remove this module from the meas. circuit?</source>
        <comment>24717</comment>
        <translation>Are you sure to remove this module from the meas. circuit?</translation>
    </message>
    <message>
        <source>Please enter a serial number into the appropriated field!</source>
        <comment>24727</comment>
        <translation>Please enter a serial number into the appropriated field!</translation>
    </message>
    <message>
        <source>Serial number is already in list!</source>
        <comment>24728</comment>
        <translation>Serial number is already in list!</translation>
    </message>
    <message>
        <source>Failed to insert serial number into list!</source>
        <comment>24729</comment>
        <translation>Failed to insert serial number into list!</translation>
    </message>
    <message>
        <source>Are you sure to delete the marked entry?</source>
        <comment>24730</comment>
        <translation>Are you sure to delete the marked entry?</translation>
    </message>
    <message>
        <source>Active</source>
        <comment>24737</comment>
        <translation>Active</translation>
    </message>
    <message>
        <source>Status</source>
        <comment>24738</comment>
        <translation>Status</translation>
    </message>
    <message>
        <source>Station</source>
        <comment>24739</comment>
        <translation>Station</translation>
    </message>
    <message>
        <source>Ser.#</source>
        <comment>24740</comment>
        <translation>Ser.#</translation>
    </message>
    <message>
        <source>Module</source>
        <comment>24741</comment>
        <translation>Module</translation>
    </message>
    <message>
        <source>Place</source>
        <comment>24742</comment>
        <translation>Place</translation>
    </message>
    <message>
        <source>Conv. count</source>
        <comment>24743</comment>
        <translation>Conv. count</translation>
    </message>
    <message>
        <source>Comv. time</source>
        <comment>24744</comment>
        <translation>Comv. time</translation>
    </message>
    <message>
        <source>Last meas.</source>
        <comment>24745</comment>
        <translation>Last meas.</translation>
    </message>
    <message>
        <source>Switch</source>
        <comment>24746</comment>
        <translation>Switch</translation>
    </message>
    <message>
        <source>Meas. value</source>
        <comment>24747</comment>
        <translation>Meas. value</translation>
    </message>
    <message>
        <source>Values</source>
        <comment>24748</comment>
        <translation>Values</translation>
    </message>
    <message>
        <source>Meas. values for Modul having Serial# %u</source>
        <comment>24757</comment>
        <translation>Meas. values for Modul having Serial# %u</translation>
    </message>
    <message>
        <source>Saving Binary Meas. Data to Disk</source>
        <comment>24766</comment>
        <translation>Saving Binary Meas. Data to Disk</translation>
    </message>
    <message>
        <source>Please insert an empty floppy disk into drive a:
and then press [OK].
</source>
        <comment>24767</comment>
        <translation>Please insert an empty floppy disk into drive a:
and then press [OK].
</translation>
    </message>
    <message>
        <source>stop</source>
        <comment>24777</comment>
        <translation>stop</translation>
    </message>
    <message>
        <source>Successfully converted binary Meas. Data to ASCII.</source>
        <comment>24786</comment>
        <translation>Successfully converted binary Meas. Data to ASCII.</translation>
    </message>
    <message>
        <source>Error(s) detected while converting Meas. Data from binary to ASCII!</source>
        <comment>24787</comment>
        <translation>Error(s) detected while converting Meas. Data from binary to ASCII!</translation>
    </message>
    <message>
        <source>Couldn&apos;t find any COM ports.
  Either all ports are yet in use or your PC does not have any COM ports.</source>
        <comment>5000</comment>
        <translation>Couldn&apos;t find any COM ports.
  Either all ports are yet in use or your PC does not have any COM ports.</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <comment>5199</comment>
        <translation>Unknown error</translation>
    </message>
    <message>
        <source>Data block not received in time</source>
        <comment>5201</comment>
        <translation>Data block not received in time</translation>
    </message>
    <message>
        <source>Fatal internal error which init. the module</source>
        <comment>5202</comment>
        <translation>Fatal internal error which init. the module</translation>
    </message>
    <message>
        <source>Check sum error in data block</source>
        <comment>5203</comment>
        <translation>Check sum error in data block</translation>
    </message>
    <message>
        <source>V24 error (framing, parity or overflow)</source>
        <comment>5204</comment>
        <translation>V24 error (framing, parity or overflow)</translation>
    </message>
    <message>
        <source>Reserved</source>
        <comment>5205</comment>
        <translation>Reserved</translation>
    </message>
    <message>
        <source>Command is not implemented on module</source>
        <comment>5206</comment>
        <translation>Command is not implemented on module</translation>
    </message>
    <message>
        <source>Parameters in data block invalid</source>
        <comment>5207</comment>
        <translation>Parameters in data block invalid</translation>
    </message>
    <message>
        <source>Command cannot be executed &apos;cos module is already busy</source>
        <comment>5208</comment>
        <translation>Command cannot be executed &apos;cos module is already busy</translation>
    </message>
    <message>
        <source>Module does not answer</source>
        <comment>5209</comment>
        <translation>Module does not answer</translation>
    </message>
    <message>
        <source>Received incomplete addr block</source>
        <comment>5210</comment>
        <translation>Received incomplete addr block</translation>
    </message>
    <message>
        <source>Checksum error in received addr block (collison found?)</source>
        <comment>5211</comment>
        <translation>Checksum error in received addr block (collison found?)</translation>
    </message>
    <message>
        <source>No data received</source>
        <comment>5212</comment>
        <translation>No data received</translation>
    </message>
    <message>
        <source>Received incomplete data block</source>
        <comment>5213</comment>
        <translation>Received incomplete data block</translation>
    </message>
    <message>
        <source>No TDR impulses.
Possible reasons: Probe not connected or probe cable damaged, TDR compensation cable longer than probe cable, or DAV-IRUZ damaged</source>
        <comment>5530</comment>
        <translation>No TDR impulses.
Possible reasons: Probe not connected or probe cable damaged, TDR compensation cable longer than probe cable, or DAV-IRUZ damaged</translation>
    </message>
    <message>
        <source>Meas. value too low.
Possible reasons: Probe out-of material or material too dry or wrong minimum value</source>
        <comment>5566</comment>
        <translation>Meas. value too low.
Possible reasons: Probe out-of material or material too dry or wrong minimum value</translation>
    </message>
    <message>
        <source>Set active calibration</source>
        <comment>32808</comment>
        <translation>Set active calibration</translation>
    </message>
</context>
<context>
    <name>terrix::BusActivity</name>
    <message>
        <source>The bus is busy (%1).
Please wait until that has finished.</source>
        <translation>The bus is busy (%1).
Please wait until that has finished.</translation>
    </message>
    <message>
        <source>The measuring loop is using the bus, so bus commands must wait.
Stop the measuring loop in the measuring circuit window, then try again.</source>
        <translation>The measuring loop is using the bus, so bus commands must wait.
Stop the measuring loop in the measuring circuit window, then try again.</translation>
    </message>
</context>
<context>
    <name>terrix::CAboutDlg</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Copyright © ORVA GmbH. All rights reserved.</source>
        <translation>Copyright © ORVA GmbH. All rights reserved.</translation>
    </message>
    <message>
        <source>%1 Version %2.%3 (Build %4.%5)</source>
        <translation>%1 Version %2.%3 (Build %4.%5)</translation>
    </message>
</context>
<context>
    <name>terrix::CActiveCalibDlg</name>
    <message>
        <source>Setting Active Calibration</source>
        <translation>Setting Active Calibration</translation>
    </message>
    <message>
        <source>Previous calibration:</source>
        <translation>Previous calibration:</translation>
    </message>
    <message>
        <source>&amp;New calibration:</source>
        <translation>&amp;New calibration:</translation>
    </message>
    <message>
        <source>Set new calibration</source>
        <translation>Set new calibration</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>terrix::CAppParamsDlg</name>
    <message>
        <source>XV Application Parameters</source>
        <translation>XV Application Parameters</translation>
    </message>
    <message>
        <source>Previous value</source>
        <translation>Previous value</translation>
    </message>
    <message>
        <source>New value</source>
        <translation>New value</translation>
    </message>
    <message>
        <source>Previous count</source>
        <translation>Previous count</translation>
    </message>
    <message>
        <source>New count</source>
        <translation>New count</translation>
    </message>
    <message>
        <source>Offset Value in &amp;Percentage</source>
        <translation>Offset Value in &amp;Percentage</translation>
    </message>
    <message>
        <source>&amp;Averaging Time</source>
        <translation>&amp;Averaging Time</translation>
    </message>
    <message>
        <source>&amp;Error66 Delay</source>
        <translation>&amp;Error66 Delay</translation>
    </message>
    <message>
        <source>Queue-&amp;Full Time</source>
        <translation>Queue-&amp;Full Time</translation>
    </message>
    <message>
        <source>Queue-E&amp;mpty Time</source>
        <translation>Queue-E&amp;mpty Time</translation>
    </message>
    <message>
        <source>s</source>
        <translation>s</translation>
    </message>
    <message>
        <source>units of 10 measurements</source>
        <translation>units of 10 measurements</translation>
    </message>
    <message>
        <source>measurements</source>
        <translation>measurements</translation>
    </message>
    <message>
        <source>Number of measurements (Error66 Delay: units of 10 measurements)</source>
        <translation>Number of measurements (Error66 Delay: units of 10 measurements)</translation>
    </message>
    <message>
        <source>Set All Offsets and A&amp;veTime</source>
        <translation>Set All Offsets and A&amp;veTime</translation>
    </message>
    <message>
        <source>&amp;Save Parameters</source>
        <translation>&amp;Save Parameters</translation>
    </message>
    <message>
        <source>&amp;Read Parameters from File</source>
        <translation>&amp;Read Parameters from File</translation>
    </message>
    <message>
        <source>Set Parameters</source>
        <translation>Set Parameters</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Station %1 did not take the parameters; the modules after it were not changed.</source>
        <translation>Station %1 did not take the parameters; the modules after it were not changed.</translation>
    </message>
    <message numerus="yes">
        <source>Offset and averaging time were set in %n XV module(s). Only XV modules hold them; skipped:
%1</source>
        <translation>
            <numerusform>Offset and averaging time were set in %n XV module. Only XV modules hold them; skipped:
%1</numerusform>
            <numerusform>Offset and averaging time were set in %n XV modules. Only XV modules hold them; skipped:
%1</numerusform>
        </translation>
    </message>
    <message>
        <source>Save Parameters</source>
        <translation>Save Parameters</translation>
    </message>
    <message>
        <source>Read Parameters from File</source>
        <translation>Read Parameters from File</translation>
    </message>
</context>
<context>
    <name>terrix::CCoefficientsDlg</name>
    <message>
        <source>Comment</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>Material and Temperature Coefficients</source>
        <translation>Material and Temperature Coefficients</translation>
    </message>
    <message>
        <source>Module description</source>
        <translation>Module description</translation>
    </message>
    <message>
        <source>&amp;File description</source>
        <translation>&amp;File description</translation>
    </message>
    <message>
        <source>Calibrations sorted by &amp;switch for material and temperature</source>
        <translation>Calibrations sorted by &amp;switch for material and temperature</translation>
    </message>
    <message>
        <source>Coefficients for &amp;selected switch</source>
        <translation>Coefficients for &amp;selected switch</translation>
    </message>
    <message>
        <source>Serial no.:</source>
        <translation>Serial no.:</translation>
    </message>
    <message>
        <source>Module name:</source>
        <translation>Module name:</translation>
    </message>
    <message>
        <source>Station no.:</source>
        <translation>Station no.:</translation>
    </message>
    <message>
        <source>File name:</source>
        <translation>File name:</translation>
    </message>
    <message>
        <source>Directory:</source>
        <translation>Directory:</translation>
    </message>
    <message>
        <source>Comments:</source>
        <translation>Comments:</translation>
    </message>
    <message>
        <source>Open LOC file</source>
        <translation>Open LOC file</translation>
    </message>
    <message>
        <source>Active</source>
        <translation>Active</translation>
    </message>
    <message>
        <source>Switch</source>
        <translation>Switch</translation>
    </message>
    <message>
        <source>Material: module ID</source>
        <translation>Material: module ID</translation>
    </message>
    <message>
        <source>Material: file ID</source>
        <translation>Material: file ID</translation>
    </message>
    <message>
        <source>Temperature: module ID</source>
        <translation>Temperature: module ID</translation>
    </message>
    <message>
        <source>Temperature: file ID</source>
        <translation>Temperature: file ID</translation>
    </message>
    <message>
        <source>Coefficient</source>
        <translation>Coefficient</translation>
    </message>
    <message>
        <source>for material in module</source>
        <translation>for material in module</translation>
    </message>
    <message>
        <source>for material in file</source>
        <translation>for material in file</translation>
    </message>
    <message>
        <source>for temperature in module</source>
        <translation>for temperature in module</translation>
    </message>
    <message>
        <source>for temperature in file</source>
        <translation>for temperature in file</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Reread
act. calibration ID</source>
        <translation>Reread
act. calibration ID</translation>
    </message>
    <message>
        <source>Set act. &amp;calibration</source>
        <translation>Set act. &amp;calibration</translation>
    </message>
    <message>
        <source>Reread module</source>
        <translation>Reread module</translation>
    </message>
    <message>
        <source>Reread files</source>
        <translation>Reread files</translation>
    </message>
    <message>
        <source>Program module</source>
        <translation>Program module</translation>
    </message>
    <message>
        <source>Program all modules</source>
        <translation>Program all modules</translation>
    </message>
    <message>
        <source>Only XV modules were programmed; skipped:
%1</source>
        <translation>Only XV modules were programmed; skipped:
%1</translation>
    </message>
    <message>
        <source>LOC file (*.LOC *.loc)</source>
        <translation>LOC file (*.LOC *.loc)</translation>
    </message>
</context>
<context>
    <name>terrix::CConversionTimeDlg</name>
    <message>
        <source>Setting Conversion Time</source>
        <translation>Setting Conversion Time</translation>
    </message>
    <message>
        <source>Conversion time</source>
        <translation>Conversion time</translation>
    </message>
    <message>
        <source>Previous value:</source>
        <translation>Previous value:</translation>
    </message>
    <message>
        <source>&amp;New value:</source>
        <translation>&amp;New value:</translation>
    </message>
    <message>
        <source>[s]</source>
        <translation>[s]</translation>
    </message>
    <message>
        <source>&amp;Set choosen value</source>
        <translation>&amp;Set choosen value</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Corresponds to %1 conversions</source>
        <translation>Corresponds to %1 conversions</translation>
    </message>
</context>
<context>
    <name>terrix::CCreateCollisionsDlg</name>
    <message>
        <source>Create Collisions on NKP-Bus</source>
        <translation>Create Collisions on NKP-Bus</translation>
    </message>
    <message>
        <source>Act. status of bus</source>
        <translation>Act. status of bus</translation>
    </message>
    <message>
        <source>Create collisions</source>
        <translation>Create collisions</translation>
    </message>
    <message>
        <source>Num. of collisions:</source>
        <translation>Num. of collisions:</translation>
    </message>
    <message>
        <source>known modules:</source>
        <translation>known modules:</translation>
    </message>
    <message>
        <source>on &amp;address:</source>
        <translation>on &amp;address:</translation>
    </message>
    <message>
        <source>Create &amp;collisions</source>
        <translation>Create &amp;collisions</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Station %1 is reserved; choose 0 to 250 or 252.</source>
        <translation>Station %1 is reserved; choose 0 to 250 or 252.</translation>
    </message>
</context>
<context>
    <name>terrix::CEditNumBase</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>Characters must be a number.
</source>
        <translation>Characters must be a number.
</translation>
    </message>
    <message>
        <source>Value must be at least %1.
</source>
        <translation>Value must be at least %1.
</translation>
    </message>
    <message>
        <source>Value must be less or equal than %1.
</source>
        <translation>Value must be less or equal than %1.
</translation>
    </message>
    <message>
        <source>Characters must form a number.
</source>
        <translation>Characters must form a number.
</translation>
    </message>
    <message>
        <source>Value must be less or equal than least %1.
</source>
        <translation>Value must be less or equal than least %1.
</translation>
    </message>
    <message>
        <source>The resulting value becomes too low: %1&quot;
Paste Command Ignored</source>
        <translation>The resulting value becomes too low: %1&quot;
Paste Command Ignored</translation>
    </message>
    <message>
        <source>The resulting value becomes too high: %1&quot;
Paste Command Ignored</source>
        <translation>The resulting value becomes too high: %1&quot;
Paste Command Ignored</translation>
    </message>
    <message>
        <source>The format of the resulting string is wrong: %1&quot;
Paste Command Ignored</source>
        <translation>The format of the resulting string is wrong: %1&quot;
Paste Command Ignored</translation>
    </message>
    <message>
        <source>Paste Notice</source>
        <translation>Paste Notice</translation>
    </message>
</context>
<context>
    <name>terrix::CError66Dlg</name>
    <message>
        <source>Change Limit for Error66 Activation</source>
        <translation>Change Limit for Error66 Activation</translation>
    </message>
    <message>
        <source>Now Value (%)</source>
        <translation>Now Value (%)</translation>
    </message>
    <message>
        <source>&amp;New Value (%)</source>
        <translation>&amp;New Value (%)</translation>
    </message>
    <message>
        <source>Set New Value</source>
        <translation>Set New Value</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>terrix::CExportValuesDlg</name>
    <message>
        <source>Export values</source>
        <translation>Export values</translation>
    </message>
    <message>
        <source>Values</source>
        <translation>Values</translation>
    </message>
    <message>
        <source>&amp;Shown on the plot: %1 to %2</source>
        <translation>&amp;Shown on the plot: %1 to %2</translation>
    </message>
    <message>
        <source>&amp;Shown on the plot: none</source>
        <translation>&amp;Shown on the plot: none</translation>
    </message>
    <message>
        <source>&amp;All %1 values</source>
        <translation>&amp;All %1 values</translation>
    </message>
    <message>
        <source>Semicolon ( ; )</source>
        <translation>Semicolon ( ; )</translation>
    </message>
    <message>
        <source>Comma ( , )</source>
        <translation>Comma ( , )</translation>
    </message>
    <message>
        <source>Tab</source>
        <translation>Tab</translation>
    </message>
    <message>
        <source>Comma ( 1,5 )</source>
        <translation>Comma ( 1,5 )</translation>
    </message>
    <message>
        <source>Point ( 1.5 )</source>
        <translation>Point ( 1.5 )</translation>
    </message>
    <message>
        <source>Leave values that could not be &amp;measured empty</source>
        <translation>Leave values that could not be &amp;measured empty</translation>
    </message>
    <message>
        <source>&amp;Column separator:</source>
        <translation>&amp;Column separator:</translation>
    </message>
    <message>
        <source>&amp;Decimal mark:</source>
        <translation>&amp;Decimal mark:</translation>
    </message>
</context>
<context>
    <name>terrix::CHaltMeasStateDlg</name>
    <message>
        <source>Halt Measuring State</source>
        <translation>Halt Measuring State</translation>
    </message>
    <message>
        <source>Set Halt Measuring State</source>
        <translation>Set Halt Measuring State</translation>
    </message>
    <message>
        <source>Measuring</source>
        <translation>Measuring</translation>
    </message>
    <message>
        <source>Halt Measuring by Signal</source>
        <translation>Halt Measuring by Signal</translation>
    </message>
    <message>
        <source>Halt Measuring by Command</source>
        <translation>Halt Measuring by Command</translation>
    </message>
    <message>
        <source>Halt Measuring by both</source>
        <translation>Halt Measuring by both</translation>
    </message>
    <message>
        <source>&amp;Release by Command</source>
        <translation>&amp;Release by Command</translation>
    </message>
    <message>
        <source>&amp;Halt by Command</source>
        <translation>&amp;Halt by Command</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>terrix::CMainFrame</name>
    <message>
        <source>Serial &amp;ports...</source>
        <translation>Serial &amp;ports...</translation>
    </message>
    <message>
        <source>Bus &amp;traffic...</source>
        <translation>Bus &amp;traffic...</translation>
    </message>
    <message>
        <source>Choose the device behind each COM port
Serial ports</source>
        <translation>Choose the device behind each COM port
Serial ports</translation>
    </message>
    <message>
        <source>Show the frames that go over the bus
Bus traffic</source>
        <translation>Show the frames that go over the bus
Bus traffic</translation>
    </message>
    <message>
        <source>Publish &amp;values...</source>
        <translation>Publish &amp;values...</translation>
    </message>
    <message>
        <source>Send every stored value to an MQTT broker
Publish values</source>
        <translation>Send every stored value to an MQTT broker
Publish values</translation>
    </message>
</context>
<context>
    <name>terrix::CMeasCircuitDlg</name>
    <message>
        <source>Measuring circuit</source>
        <translation>Measuring circuit</translation>
    </message>
    <message>
        <source># modules:</source>
        <translation># modules:</translation>
    </message>
    <message>
        <source>Next measuring</source>
        <translation>Next measuring</translation>
    </message>
    <message>
        <source>in:</source>
        <translation>in:</translation>
    </message>
    <message>
        <source>Meas. &amp;rate:</source>
        <translation>Meas. &amp;rate:</translation>
    </message>
    <message>
        <source>&amp;Meas. loop</source>
        <translation>&amp;Meas. loop</translation>
    </message>
    <message>
        <source>&amp;Single meas.</source>
        <translation>&amp;Single meas.</translation>
    </message>
    <message>
        <source>&amp;Display meas. values</source>
        <translation>&amp;Display meas. values</translation>
    </message>
    <message>
        <source>&amp;Erase meas. values</source>
        <translation>&amp;Erase meas. values</translation>
    </message>
    <message>
        <source>Display &amp;all meas. vals.</source>
        <translation>Display &amp;all meas. vals.</translation>
    </message>
    <message>
        <source>Erase all meas. &amp;vals.</source>
        <translation>Erase all meas. &amp;vals.</translation>
    </message>
    <message>
        <source>&amp;Offset correct.</source>
        <translation>&amp;Offset correct.</translation>
    </message>
    <message>
        <source>&amp;Calibr. coeff.</source>
        <translation>&amp;Calibr. coeff.</translation>
    </message>
    <message>
        <source>Convers. &amp;time</source>
        <translation>Convers. &amp;time</translation>
    </message>
    <message>
        <source>Appli. Paras</source>
        <translation>Appli. Paras</translation>
    </message>
    <message>
        <source>HaltMState</source>
        <translation>HaltMState</translation>
    </message>
    <message>
        <source>Copy measurement &amp;files...</source>
        <translation>Copy measurement &amp;files...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>terrix::CMeasValueDlg</name>
    <message>
        <source>&amp;Values</source>
        <translation>&amp;Values</translation>
    </message>
    <message>
        <source>E&amp;xport...</source>
        <translation>E&amp;xport...</translation>
    </message>
    <message>
        <source>Save plot as &amp;picture...</source>
        <translation>Save plot as &amp;picture...</translation>
    </message>
    <message>
        <source>&amp;Erase meas. values</source>
        <translation>&amp;Erase meas. values</translation>
    </message>
    <message>
        <source>Please select the rows to copy.</source>
        <translation>Please select the rows to copy.</translation>
    </message>
    <message>
        <source>%1 rows are selected; at most %2 rows are copied to the clipboard. &quot;Export...&quot; writes any number of rows to a file.</source>
        <translation>%1 rows are selected; at most %2 rows are copied to the clipboard. &quot;Export...&quot; writes any number of rows to a file.</translation>
    </message>
    <message>
        <source>Export values</source>
        <translation>Export values</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSV files (*.csv);;All files (*)</translation>
    </message>
    <message>
        <source>The values could not be exported:
%1</source>
        <translation>The values could not be exported:
%1</translation>
    </message>
    <message>
        <source>Save plot as picture</source>
        <translation>Save plot as picture</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>PNG pictures (*.png)</translation>
    </message>
    <message>
        <source>The picture could not be saved as %1.</source>
        <translation>The picture could not be saved as %1.</translation>
    </message>
    <message>
        <source>  SPP: </source>
        <translation>  SPP: </translation>
    </message>
</context>
<context>
    <name>terrix::CModuleConfigDialog</name>
    <message>
        <source>station %1 (%2, serial %3)</source>
        <translation>station %1 (%2, serial %3)</translation>
    </message>
</context>
<context>
    <name>terrix::COffsetDlg</name>
    <message>
        <source>Setting Offset for Calibration</source>
        <translation>Setting Offset for Calibration</translation>
    </message>
    <message>
        <source>Previous offset:</source>
        <translation>Previous offset:</translation>
    </message>
    <message>
        <source>New &amp;offset:</source>
        <translation>New &amp;offset:</translation>
    </message>
    <message>
        <source>Meas. value changed &amp;by:</source>
        <translation>Meas. value changed &amp;by:</translation>
    </message>
    <message>
        <source>+ 0.1%</source>
        <translation>+ 0.1%</translation>
    </message>
    <message>
        <source>- 0.1%</source>
        <translation>- 0.1%</translation>
    </message>
    <message>
        <source>&amp;Set new offset</source>
        <translation>&amp;Set new offset</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>The module takes offsets from -99.9 to 99.9 %.</source>
        <translation>The module takes offsets from -99.9 to 99.9 %.</translation>
    </message>
</context>
<context>
    <name>terrix::CPlacementDialog</name>
    <message>
        <source>Do you want to carry out the change?</source>
        <translation>Do you want to carry out the change?</translation>
    </message>
    <message>
        <source>The change could not be carried out!</source>
        <translation>The change could not be carried out!</translation>
    </message>
    <message>
        <source>Change carried out.</source>
        <translation>Change carried out.</translation>
    </message>
    <message>
        <source>Do you want to discard your change?</source>
        <translation>Do you want to discard your change?</translation>
    </message>
</context>
<context>
    <name>terrix::CPublishDlg</name>
    <message>
        <source>Publish Values</source>
        <translation>Publish Values</translation>
    </message>
    <message>
        <source>&amp;Broker:</source>
        <translation>&amp;Broker:</translation>
    </message>
    <message>
        <source>Topic &amp;prefix:</source>
        <translation>Topic &amp;prefix:</translation>
    </message>
    <message>
        <source>&amp;User:</source>
        <translation>&amp;User:</translation>
    </message>
    <message>
        <source>Pass&amp;word file:</source>
        <translation>Pass&amp;word file:</translation>
    </message>
    <message>
        <source>&amp;CA file:</source>
        <translation>&amp;CA file:</translation>
    </message>
    <message>
        <source>Client c&amp;ertificate:</source>
        <translation>Client c&amp;ertificate:</translation>
    </message>
    <message>
        <source>Client &amp;key:</source>
        <translation>Client &amp;key:</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>Every stored value is sent to the broker as &lt;prefix&gt;/&lt;serial&gt;/record. Leave the broker empty to publish nothing. The password is read from the password file (or from TERRIX_MQTT_PASSWORD) and never stored here. The certificate files are used with mqtts:// only.</source>
        <translation>Every stored value is sent to the broker as &lt;prefix&gt;/&lt;serial&gt;/record. Leave the broker empty to publish nothing. The password is read from the password file (or from TERRIX_MQTT_PASSWORD) and never stored here. The certificate files are used with mqtts:// only.</translation>
    </message>
    <message>
        <source>&amp;Test</source>
        <translation>&amp;Test</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>No broker is given: nothing is published.</source>
        <translation>No broker is given: nothing is published.</translation>
    </message>
    <message>
        <source>The broker address is malformed: %1</source>
        <translation>The broker address is malformed: %1</translation>
    </message>
    <message>
        <source>Connecting to %1...</source>
        <translation>Connecting to %1...</translation>
    </message>
    <message>
        <source>These settings cannot be used now: %1

Store them anyway?</source>
        <translation>These settings cannot be used now: %1

Store them anyway?</translation>
    </message>
    <message>
        <source>The settings could not be stored in the settings file.</source>
        <translation>The settings could not be stored in the settings file.</translation>
    </message>
</context>
<context>
    <name>terrix::CResetBaudDlg</name>
    <message>
        <source>Change Reset Baudrate</source>
        <translation>Change Reset Baudrate</translation>
    </message>
    <message>
        <source>Now Reset Baudrate</source>
        <translation>Now Reset Baudrate</translation>
    </message>
    <message>
        <source>Set Reset Baudrate 9600</source>
        <translation>Set Reset Baudrate 9600</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>terrix::CResolveCollisionsByKnownSerNos</name>
    <message>
        <source>S&amp;erial no.:</source>
        <translation>S&amp;erial no.:</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>&amp;Delete selection</source>
        <translation>&amp;Delete selection</translation>
    </message>
    <message>
        <source>The list of known modules could not be saved:
%1</source>
        <translation>The list of known modules could not be saved:
%1</translation>
    </message>
</context>
<context>
    <name>terrix::CResolveCollisionsBySerNoRange</name>
    <message>
        <source>Scan range</source>
        <translation>Scan range</translation>
    </message>
    <message>
        <source>&amp;From serial no.:</source>
        <translation>&amp;From serial no.:</translation>
    </message>
    <message>
        <source>&amp;To serial no.:</source>
        <translation>&amp;To serial no.:</translation>
    </message>
</context>
<context>
    <name>terrix::CResolveCollisionsDlg</name>
    <message>
        <source>Resolve Collisions</source>
        <translation>Resolve Collisions</translation>
    </message>
    <message>
        <source>Methods</source>
        <translation>Methods</translation>
    </message>
    <message>
        <source>searched until now</source>
        <translation>searched until now</translation>
    </message>
    <message>
        <source>found until now</source>
        <translation>found until now</translation>
    </message>
    <message>
        <source>Modules:</source>
        <translation>Modules:</translation>
    </message>
    <message>
        <source>Collisions:</source>
        <translation>Collisions:</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>The bus state could not be saved:
%1</source>
        <translation>The bus state could not be saved:
%1</translation>
    </message>
    <message>
        <source>Collision successfully removed!</source>
        <translation>Collision successfully removed!</translation>
    </message>
</context>
<context>
    <name>terrix::CResolveCollisionsOneByOne</name>
    <message>
        <source>S&amp;erial no.:</source>
        <translation>S&amp;erial no.:</translation>
    </message>
</context>
<context>
    <name>terrix::CResolveCollisionsOpts</name>
    <message>
        <source>&amp;Range</source>
        <translation>&amp;Range</translation>
    </message>
    <message>
        <source>&amp;Known modules</source>
        <translation>&amp;Known modules</translation>
    </message>
    <message>
        <source>&amp;Single module</source>
        <translation>&amp;Single module</translation>
    </message>
</context>
<context>
    <name>terrix::CScanDlg</name>
    <message>
        <source>Scanning Bus for Modules</source>
        <translation>Scanning Bus for Modules</translation>
    </message>
    <message>
        <source>Scanning now</source>
        <translation>Scanning now</translation>
    </message>
    <message>
        <source>Station no.:</source>
        <translation>Station no.:</translation>
    </message>
    <message>
        <source>Last found module</source>
        <translation>Last found module</translation>
    </message>
    <message>
        <source>Serial no.:</source>
        <translation>Serial no.:</translation>
    </message>
    <message>
        <source>Module name:</source>
        <translation>Module name:</translation>
    </message>
    <message>
        <source>Module code:</source>
        <translation>Module code:</translation>
    </message>
    <message>
        <source>Scanned until now</source>
        <translation>Scanned until now</translation>
    </message>
    <message>
        <source>Found until now</source>
        <translation>Found until now</translation>
    </message>
    <message>
        <source>Num. of modules:</source>
        <translation>Num. of modules:</translation>
    </message>
    <message>
        <source>Num. of collisions:</source>
        <translation>Num. of collisions:</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>The bus state could not be saved:
%1</source>
        <translation>The bus state could not be saved:
%1</translation>
    </message>
</context>
<context>
    <name>terrix::CSerialPortsDlg</name>
    <message>
        <source>Serial Ports</source>
        <translation>Serial Ports</translation>
    </message>
    <message>
        <source>&amp;Serial devices of this computer: none found</source>
        <translation>&amp;Serial devices of this computer: none found</translation>
    </message>
    <message>
        <source>&amp;Serial devices of this computer:</source>
        <translation>&amp;Serial devices of this computer:</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>Stable name</source>
        <translation>Stable name</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Manufacturer</source>
        <translation>Manufacturer</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>Use selected</source>
        <translation>Use selected</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Please choose a device for COM%1.</source>
        <translation>Please choose a device for COM%1.</translation>
    </message>
    <message>
        <source>COM%1 is in use by a bus operation of this program.</source>
        <translation>COM%1 is in use by a bus operation of this program.</translation>
    </message>
    <message>
        <source>%1 opens, and the interface cable answers.</source>
        <translation>%1 opens, and the interface cable answers.</translation>
    </message>
    <message>
        <source>%1 opens, but no interface cable was detected (a pseudo-terminal has none).</source>
        <translation>%1 opens, but no interface cable was detected (a pseudo-terminal has none).</translation>
    </message>
    <message>
        <source>The device of COM%1 could not be stored in the settings file.</source>
        <translation>The device of COM%1 could not be stored in the settings file.</translation>
    </message>
    <message>
        <source>Choose a listed device, type the path of a device, or enter &quot;sim&quot; for the simulated bus. Stable names under %1 stay the same when adapters are plugged in another order.</source>
        <translation>Choose a listed device, type the path of a device, or enter &quot;sim&quot; for the simulated bus. Stable names under %1 stay the same when adapters are plugged in another order.</translation>
    </message>
    <message>
        <source>Choose a listed port, type the name of a port (COM5), or enter &quot;sim&quot; for the simulated bus. The device manager shows which COM number an adapter was given.</source>
        <translation>Choose a listed port, type the name of a port (COM5), or enter &quot;sim&quot; for the simulated bus. The device manager shows which COM number an adapter was given.</translation>
    </message>
</context>
<context>
    <name>terrix::CSingleInstance</name>
    <message>
        <source>the lock file could not be created</source>
        <translation>the lock file could not be created</translation>
    </message>
    <message>
        <source>the folder does not exist</source>
        <translation>the folder does not exist</translation>
    </message>
    <message>
        <source>the folder is on a read-only file system</source>
        <translation>the folder is on a read-only file system</translation>
    </message>
    <message>
        <source>you may not write in this folder</source>
        <translation>you may not write in this folder</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>Terrix cannot start: the lock file that keeps a second copy of the program from running could not be created in the data folder %1: %2.

Make room on the disk or make the folder writable, or choose another data folder with --data-dir or TERRIX_DATA_DIR.</source>
        <translation>Terrix cannot start: the lock file that keeps a second copy of the program from running could not be created in the data folder %1: %2.

Make room on the disk or make the folder writable, or choose another data folder with --data-dir or TERRIX_DATA_DIR.</translation>
    </message>
    <message>
        <source>it is not a folder</source>
        <translation>it is not a folder</translation>
    </message>
</context>
<context>
    <name>terrix::CStationNumberDlg</name>
    <message>
        <source>Change Station Number</source>
        <translation>Change Station Number</translation>
    </message>
    <message>
        <source>Previous station number:</source>
        <translation>Previous station number:</translation>
    </message>
    <message>
        <source>&amp;New station number:</source>
        <translation>&amp;New station number:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Station %1 is already used by another module of the bus (serial number %2).
Please choose a free station.</source>
        <translation>Station %1 is already used by another module of the bus (serial number %2).
Please choose a free station.</translation>
    </message>
    <message>
        <source>Move %1 from station %2 to station %3?</source>
        <translation>Move %1 from station %2 to station %3?</translation>
    </message>
</context>
<context>
    <name>terrix::CTerrixView</name>
    <message>
        <source>%1 &gt; %2 searches every station of the bus for modules.
%1 &gt; %3 asks only the modules that the last scan saved.</source>
        <translation>%1 &gt; %2 searches every station of the bus for modules.
%1 &gt; %3 asks only the modules that the last scan saved.</translation>
    </message>
    <message>
        <source>No bus has been scanned yet.</source>
        <translation>No bus has been scanned yet.</translation>
    </message>
    <message>
        <source>Modules listed from the bus the last scan saved: %1. They are not identified until a scan finds them.
%2 &gt; %3 shows them with their stored values.</source>
        <translation>Modules listed from the bus the last scan saved: %1. They are not identified until a scan finds them.
%2 &gt; %3 shows them with their stored values.</translation>
    </message>
</context>
<context>
    <name>terrix::CTrafficMonitor</name>
    <message>
        <source>Bus Traffic</source>
        <translation>Bus Traffic</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>&amp;Pause</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>C&amp;lear</translation>
    </message>
    <message>
        <source>&amp;Save as text...</source>
        <translation>&amp;Save as text...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Close</translation>
    </message>
    <message numerus="yes">
        <source>%n frame(s)</source>
        <translation>
            <numerusform>%n frame</numerusform>
            <numerusform>%n frames</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>paused: %n frame(s) not listed</source>
        <translation>
            <numerusform>paused: %n frame not listed</numerusform>
            <numerusform>paused: %n frames not listed</numerusform>
        </translation>
    </message>
    <message>
        <source>Text files (*.txt);;All files (*)</source>
        <translation>Text files (*.txt);;All files (*)</translation>
    </message>
    <message>
        <source>The bus traffic could not be saved to %1:
%2</source>
        <translation>The bus traffic could not be saved to %1:
%2</translation>
    </message>
    <message>
        <source>set station by serial</source>
        <translation>set station by serial</translation>
    </message>
    <message>
        <source>read station info</source>
        <translation>read station info</translation>
    </message>
    <message>
        <source>set baud rate (all)</source>
        <translation>set baud rate (all)</translation>
    </message>
    <message>
        <source>program reset baud rate</source>
        <translation>program reset baud rate</translation>
    </message>
    <message>
        <source>read halt state</source>
        <translation>read halt state</translation>
    </message>
    <message>
        <source>write halt state</source>
        <translation>write halt state</translation>
    </message>
    <message>
        <source>read application parameters</source>
        <translation>read application parameters</translation>
    </message>
    <message>
        <source>write application parameters</source>
        <translation>write application parameters</translation>
    </message>
    <message>
        <source>read temperature calibration</source>
        <translation>read temperature calibration</translation>
    </message>
    <message>
        <source>write temperature calibration</source>
        <translation>write temperature calibration</translation>
    </message>
    <message>
        <source>read XV block A</source>
        <translation>read XV block A</translation>
    </message>
    <message>
        <source>read XV block B</source>
        <translation>read XV block B</translation>
    </message>
    <message>
        <source>read active calibration</source>
        <translation>read active calibration</translation>
    </message>
    <message>
        <source>write active calibration</source>
        <translation>write active calibration</translation>
    </message>
    <message>
        <source>read material calibration</source>
        <translation>read material calibration</translation>
    </message>
    <message>
        <source>write material calibration</source>
        <translation>write material calibration</translation>
    </message>
    <message>
        <source>write zero offset</source>
        <translation>write zero offset</translation>
    </message>
    <message>
        <source>write analog configuration</source>
        <translation>write analog configuration</translation>
    </message>
    <message>
        <source>write number of measurements</source>
        <translation>write number of measurements</translation>
    </message>
    <message>
        <source>read zero offset</source>
        <translation>read zero offset</translation>
    </message>
    <message>
        <source>read analog configuration</source>
        <translation>read analog configuration</translation>
    </message>
    <message>
        <source>read number of measurements</source>
        <translation>read number of measurements</translation>
    </message>
    <message>
        <source>write offset</source>
        <translation>write offset</translation>
    </message>
    <message>
        <source>read offset</source>
        <translation>read offset</translation>
    </message>
    <message>
        <source>read sensor data</source>
        <translation>read sensor data</translation>
    </message>
    <message>
        <source>read measured values</source>
        <translation>read measured values</translation>
    </message>
    <message>
        <source>start measurement</source>
        <translation>start measurement</translation>
    </message>
</context>
<context>
    <name>terrix::CUserDataDlg</name>
    <message>
        <source>&amp;Place:</source>
        <translation>&amp;Place:</translation>
    </message>
    <message>
        <source>&amp;Comments:</source>
        <translation>&amp;Comments:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>terrix::CheckModuleAtStation</name>
    <message>
        <source>The module at station %1 does not answer:
%2</source>
        <translation>The module at station %1 does not answer:
%2</translation>
    </message>
    <message>
        <source>Station %1 is answered by the module with serial number %2, not by the selected module (serial number %3).
Please scan the bus again.</source>
        <translation>Station %1 is answered by the module with serial number %2, not by the selected module (serial number %3).
Please scan the bus again.</translation>
    </message>
</context>
<context>
    <name>terrix::ConfigText</name>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Failed to request for TavikXV&apos;s actual switch postion!</source>
        <translation>Failed to request for TavikXV&apos;s actual switch postion!</translation>
    </message>
    <message>
        <source>Error getting coefficient from module!</source>
        <translation>Error getting coefficient from module!</translation>
    </message>
    <message>
        <source>Don&apos;t set reset baudrate!</source>
        <translation>Don&apos;t set reset baudrate!</translation>
    </message>
    <message>
        <source>Don&apos;t get application parameters!</source>
        <translation>Don&apos;t get application parameters!</translation>
    </message>
    <message>
        <source>Don&apos;t set application parameters!</source>
        <translation>Don&apos;t set application parameters!</translation>
    </message>
    <message>
        <source>Set Offset failed!</source>
        <translation>Set Offset failed!</translation>
    </message>
    <message>
        <source>The offset must be a finite number of percent.</source>
        <translation>The offset must be a finite number of percent.</translation>
    </message>
    <message>
        <source>Don&apos;t get analog config!</source>
        <translation>Don&apos;t get analog config!</translation>
    </message>
    <message>
        <source>Don&apos;t set analog config!</source>
        <translation>Don&apos;t set analog config!</translation>
    </message>
    <message>
        <source>Don&apos;t get zero offset!</source>
        <translation>Don&apos;t get zero offset!</translation>
    </message>
    <message>
        <source>Don&apos;t set measuring low limit!</source>
        <translation>Don&apos;t set measuring low limit!</translation>
    </message>
    <message>
        <source>The limit must lie between 0 and 100 %.</source>
        <translation>The limit must lie between 0 and 100 %.</translation>
    </message>
    <message>
        <source>Don&apos;t get Halt Measuring State!</source>
        <translation>Don&apos;t get Halt Measuring State!</translation>
    </message>
    <message>
        <source>Don&apos;t get file name!</source>
        <translation>Don&apos;t get file name!</translation>
    </message>
    <message>
        <source>don&apos;t get file name!</source>
        <translation>don&apos;t get file name!</translation>
    </message>
    <message>
        <source>Can&apos;t read file !</source>
        <translation>Can&apos;t read file !</translation>
    </message>
    <message>
        <source>Can&apos;t open the file!</source>
        <translation>Can&apos;t open the file!</translation>
    </message>
    <message>
        <source>Can&apos;t write the file!</source>
        <translation>Can&apos;t write the file!</translation>
    </message>
    <message>
        <source>Can&apos;t read the file!</source>
        <translation>Can&apos;t read the file!</translation>
    </message>
    <message>
        <source>Number of parameters isn&apos;t 5,
Check it and try again please!</source>
        <translation>Number of parameters isn&apos;t 5,
Check it and try again please!</translation>
    </message>
    <message>
        <source>Program has not read (successfully) any calibration data from a module.
Additionally no calibration data has been retrieved from LOC files.
Therfor this function won&apos;t be executed!</source>
        <translation>Program has not read (successfully) any calibration data from a module.
Additionally no calibration data has been retrieved from LOC files.
Therfor this function won&apos;t be executed!</translation>
    </message>
    <message>
        <source>Program has not read (successfully) any calibration data from a module.
Either the module or the communication with the NKP-bus has been damaged.
If you continue to write any data into the module you possibly can destroy the module!
DO YOU STILL INSIST TO CONTINUE this operation?</source>
        <translation>Program has not read (successfully) any calibration data from a module.
Either the module or the communication with the NKP-bus has been damaged.
If you continue to write any data into the module you possibly can destroy the module!
DO YOU STILL INSIST TO CONTINUE this operation?</translation>
    </message>
    <message>
        <source>No calibration data has been read from the LOC files.
Therfor this operation will only write the actual calibration data into the module.
Are you sure to continue this operation?</source>
        <translation>No calibration data has been read from the LOC files.
Therfor this operation will only write the actual calibration data into the module.
Are you sure to continue this operation?</translation>
    </message>
    <message>
        <source>No calibration data has been read from the LOC files.
Programming all modules writes the data of the LOC files into every module, so nothing has been written.</source>
        <translation>No calibration data has been read from the LOC files.
Programming all modules writes the data of the LOC files into every module, so nothing has been written.</translation>
    </message>
    <message>
        <source>The actual calibration data is identical to that on the module!
Are you sure to rewrite the module&apos;s data?</source>
        <translation>The actual calibration data is identical to that on the module!
Are you sure to rewrite the module&apos;s data?</translation>
    </message>
    <message>
        <source>If including known modules, need to fully scan again!
Now continue program?</source>
        <translation>If including known modules, need to fully scan again!
Now continue program?</translation>
    </message>
    <message>
        <source>Writing data into module...</source>
        <translation>Writing data into module...</translation>
    </message>
    <message>
        <source>Calibration data written into module.
Reading calibration data from module for verifying correctness of written data.</source>
        <translation>Calibration data written into module.
Reading calibration data from module for verifying correctness of written data.</translation>
    </message>
    <message>
        <source>Verifying written data...</source>
        <translation>Verifying written data...</translation>
    </message>
    <message>
        <source>Loading data from module...</source>
        <translation>Loading data from module...</translation>
    </message>
    <message>
        <source>Failed to write calibration data into selected module!</source>
        <translation>Failed to write calibration data into selected module!</translation>
    </message>
    <message>
        <source>Failed to read material calibration data from module!</source>
        <translation>Failed to read material calibration data from module!</translation>
    </message>
    <message>
        <source>calibration data successfully written into module.</source>
        <translation>calibration data successfully written into module.</translation>
    </message>
    <message>
        <source>Failed to read LOC file!</source>
        <translation>Failed to read LOC file!</translation>
    </message>
    <message>
        <source>Before using this function, please enter a new calibration switch value!</source>
        <translation>Before using this function, please enter a new calibration switch value!</translation>
    </message>
    <message>
        <source>CAUTION! Product selection switch will be activated by setting calibration 0.

  Are you sure to proceed?</source>
        <translation>CAUTION! Product selection switch will be activated by setting calibration 0.

  Are you sure to proceed?</translation>
    </message>
    <message>
        <source>CAUTION! This function is fixing the selected calibration
  and deactivating the product selection switch!
  Please choose calibration 0 to activate the product selection switch.

  Are you sure to proceed?</source>
        <translation>CAUTION! This function is fixing the selected calibration
  and deactivating the product selection switch!
  Please choose calibration 0 to activate the product selection switch.

  Are you sure to proceed?</translation>
    </message>
    <message>
        <source>Failed to set active calibration</source>
        <translation>Failed to set active calibration</translation>
    </message>
    <message>
        <source>Open %1 failed!</source>
        <translation>Open %1 failed!</translation>
    </message>
    <message>
        <source>The LOC file names calibration files that are missing or cannot be read: %1</source>
        <translation>The LOC file names calibration files that are missing or cannot be read: %1</translation>
    </message>
    <message>
        <source>The LOC file names calibration files that are missing or cannot be read, so nothing has been programmed: %1</source>
        <translation>The LOC file names calibration files that are missing or cannot be read, so nothing has been programmed: %1</translation>
    </message>
</context>
<context>
    <name>terrix::CoreText</name>
    <message>
        <source>the serial port</source>
        <translation>the serial port</translation>
    </message>
    <message>
        <source>The measuring loop is running on this port. Stop the measurement before using bus commands.</source>
        <translation>The measuring loop is running on this port. Stop the measurement before using bus commands.</translation>
    </message>
    <message>
        <source>The station number was sent, but the bus state could not be saved.</source>
        <translation>The station number was sent, but the bus state could not be saved.</translation>
    </message>
    <message>
        <source>Station numbers range from 0 to 252.</source>
        <translation>Station numbers range from 0 to 252.</translation>
    </message>
    <message>
        <source>Another module of the bus already uses that station number.</source>
        <translation>Another module of the bus already uses that station number.</translation>
    </message>
    <message>
        <source>The module does not answer at its new station number; the bus state was not changed. Scan the bus.</source>
        <translation>The module does not answer at its new station number; the bus state was not changed. Scan the bus.</translation>
    </message>
    <message>
        <source>record has no serial number</source>
        <translation>record has no serial number</translation>
    </message>
    <message>
        <source>the file is shorter than a measurement file header</source>
        <translation>the file is shorter than a measurement file header</translation>
    </message>
    <message>
        <source>the file is not a measurement data file (wrong identification); it is left unchanged</source>
        <translation>the file is not a measurement data file (wrong identification); it is left unchanged</translation>
    </message>
    <message>
        <source>the measurement data file has an unknown version; it is left unchanged</source>
        <translation>the measurement data file has an unknown version; it is left unchanged</translation>
    </message>
    <message>
        <source>the file is not open</source>
        <translation>the file is not open</translation>
    </message>
    <message>
        <source>the file is open for reading only</source>
        <translation>the file is open for reading only</translation>
    </message>
    <message>
        <source>the file&apos;s records do not match this module&apos;s record layout (did the module change?); it is left unchanged: erase the file or move it elsewhere to measure this module again</source>
        <translation>the file&apos;s records do not match this module&apos;s record layout (did the module change?); it is left unchanged: erase the file or move it elsewhere to measure this module again</translation>
    </message>
    <message>
        <source>no such record in the file</source>
        <translation>no such record in the file</translation>
    </message>
    <message>
        <source>no record size is set</source>
        <translation>no record size is set</translation>
    </message>
    <message>
        <source>the file belongs to another module (its header names another serial number); it is left unchanged</source>
        <translation>the file belongs to another module (its header names another serial number); it is left unchanged</translation>
    </message>
    <message>
        <source>the file is in use by another writer</source>
        <translation>the file is in use by another writer</translation>
    </message>
    <message>
        <source>the output could not be written</source>
        <translation>the output could not be written</translation>
    </message>
    <message>
        <source>not copied</source>
        <translation>not copied</translation>
    </message>
    <message>
        <source>incomplete copy</source>
        <translation>incomplete copy</translation>
    </message>
    <message>
        <source>No space left on device</source>
        <translation>No space left on device</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>Read-only file system</source>
        <translation>Read-only file system</translation>
    </message>
    <message>
        <source>No such file or directory</source>
        <translation>No such file or directory</translation>
    </message>
    <message>
        <source>Input/output error</source>
        <translation>Input/output error</translation>
    </message>
    <message>
        <source>Disk quota exceeded</source>
        <translation>Disk quota exceeded</translation>
    </message>
    <message>
        <source>Device or resource busy</source>
        <translation>Device or resource busy</translation>
    </message>
    <message>
        <source>Permission denied opening %1. Add your user to the &apos;dialout&apos; group (sudo usermod -aG dialout $USER), then log in again.</source>
        <translation>Permission denied opening %1. Add your user to the &apos;dialout&apos; group (sudo usermod -aG dialout $USER), then log in again.</translation>
    </message>
    <message>
        <source>%1 is in use by another program.</source>
        <translation>%1 is in use by another program.</translation>
    </message>
    <message>
        <source>%1 does not exist. Check the cable and the port chosen in the settings.</source>
        <translation>%1 does not exist. Check the cable and the port chosen in the settings.</translation>
    </message>
    <message>
        <source>%1 is not a serial device.</source>
        <translation>%1 is not a serial device.</translation>
    </message>
    <message>
        <source>Lost the connection to %1 (input/output error). Check that the serial adapter is still plugged in.</source>
        <translation>Lost the connection to %1 (input/output error). Check that the serial adapter is still plugged in.</translation>
    </message>
    <message>
        <source>Cannot use %1: %2.</source>
        <translation>Cannot use %1: %2.</translation>
    </message>
    <message>
        <source>Station %1 is used by module %2 of the bus; moving another module there would create a collision. Choose a free station.</source>
        <translation>Station %1 is used by module %2 of the bus; moving another module there would create a collision. Choose a free station.</translation>
    </message>
    <message>
        <source>record %1 could not be read: %2</source>
        <translation>record %1 could not be read: %2</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>cannot create %1: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>cannot replace %1: %2</source>
        <translation>cannot replace %1: %2</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>terrix::FieldTitle</name>
    <message>
        <source>Date/Time</source>
        <translation>Date/Time</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Value 1</source>
        <translation>Value 1</translation>
    </message>
    <message>
        <source>Value 2</source>
        <translation>Value 2</translation>
    </message>
    <message>
        <source>Density</source>
        <translation>Density</translation>
    </message>
    <message>
        <source>Moisture [%]</source>
        <translation>Moisture [%]</translation>
    </message>
    <message>
        <source>StdDev</source>
        <translation>StdDev</translation>
    </message>
    <message>
        <source>Error [%]</source>
        <translation>Error [%]</translation>
    </message>
    <message>
        <source>TDR Level</source>
        <translation>TDR Level</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperature</translation>
    </message>
</context>
<context>
    <name>terrix::MeasCircuitController</name>
    <message>
        <source>This command talks to the module over the bus, and the measuring loop is using the bus now.
Stop the measuring loop (&quot;%1&quot;), then try again.</source>
        <translation>This command talks to the module over the bus, and the measuring loop is using the bus now.
Stop the measuring loop (&quot;%1&quot;), then try again.</translation>
    </message>
    <message>
        <source>This command works on measurement files that the measuring loop is writing now.
Stop the measuring loop (&quot;%1&quot;), then try again.</source>
        <translation>This command works on measurement files that the measuring loop is writing now.
Stop the measuring loop (&quot;%1&quot;), then try again.</translation>
    </message>
    <message>
        <source>A measured value could not be stored:
%1</source>
        <translation>A measured value could not be stored:
%1</translation>
    </message>
    <message>
        <source>Publishing is off: %1</source>
        <translation>Publishing is off: %1</translation>
    </message>
    <message>
        <source>Publishing problem: %1</source>
        <translation>Publishing problem: %1</translation>
    </message>
    <message>
        <source>Publishing to %1: connected; records waiting: %2</source>
        <translation>Publishing to %1: connected; records waiting: %2</translation>
    </message>
    <message>
        <source>Publishing to %1: connecting; records waiting: %2</source>
        <translation>Publishing to %1: connecting; records waiting: %2</translation>
    </message>
    <message>
        <source>Publishing to %1 waits (%2); records waiting: %3</source>
        <translation>Publishing to %1 waits (%2); records waiting: %3</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) copied to %1.</source>
        <translation>
            <numerusform>%n file copied to %1.</numerusform>
            <numerusform>%n files copied to %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>Without measured values (skipped):</source>
        <translation>Without measured values (skipped):</translation>
    </message>
    <message>
        <source>Could not be copied:</source>
        <translation>Could not be copied:</translation>
    </message>
</context>
<context>
    <name>terrix::MeasCircuitModel</name>
    <message>
        <source>No connection: the port&apos;s device has gone</source>
        <translation>No connection: the port&apos;s device has gone</translation>
    </message>
</context>
<context>
    <name>terrix::MessageBox</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>terrix::ModuleWindowTitle</name>
    <message>
        <source>%1 – %2 (station %3)</source>
        <extracomment>A window&apos;s title, the serial number of its module and the module&apos;s station address.</extracomment>
        <translation>%1 – %2 (station %3)</translation>
    </message>
    <message>
        <source>%1 – station %2</source>
        <extracomment>A window&apos;s title that names its module already, and the module&apos;s station address.</extracomment>
        <translation>%1 – station %2</translation>
    </message>
    <message>
        <source>%1, station %2</source>
        <extracomment>The line in a window&apos;s body that names its module (&quot;40218 (PX-TAVIK2XV)&quot;) when the title is cut off.</extracomment>
        <translation>%1, station %2</translation>
    </message>
</context>
<context>
    <name>terrix::PublishTexts</name>
    <message>
        <source>Connected to %1 and logged in: publishing works with these settings.</source>
        <translation>Connected to %1 and logged in: publishing works with these settings.</translation>
    </message>
    <message>
        <source>The settings cannot be used: %1</source>
        <translation>The settings cannot be used: %1</translation>
    </message>
    <message>
        <source>Host not found: the name in %1 cannot be resolved (check its spelling and the network).</source>
        <translation>Host not found: the name in %1 cannot be resolved (check its spelling and the network).</translation>
    </message>
    <message>
        <source>Connection refused: nothing accepts connections at %1 (is the broker running, and is the port right?).</source>
        <translation>Connection refused: nothing accepts connections at %1 (is the broker running, and is the port right?).</translation>
    </message>
    <message>
        <source>Not authorised: the broker at %1 refused the user name or the password.</source>
        <translation>Not authorised: the broker at %1 refused the user name or the password.</translation>
    </message>
    <message>
        <source>TLS problem with %1: %2</source>
        <translation>TLS problem with %1: %2</translation>
    </message>
    <message>
        <source>No answer from %1 in time (a firewall, or no MQTT broker at that port?).</source>
        <translation>No answer from %1 in time (a firewall, or no MQTT broker at that port?).</translation>
    </message>
    <message>
        <source>The broker at %1 closed the connection: %2</source>
        <translation>The broker at %1 closed the connection: %2</translation>
    </message>
    <message>
        <source>The test was stopped.</source>
        <translation>The test was stopped.</translation>
    </message>
    <message>
        <source>The connection to %1 failed: %2</source>
        <translation>The connection to %1 failed: %2</translation>
    </message>
    <message>
        <source>unusable settings</source>
        <translation>unusable settings</translation>
    </message>
    <message>
        <source>host not found</source>
        <translation>host not found</translation>
    </message>
    <message>
        <source>connection refused</source>
        <translation>connection refused</translation>
    </message>
    <message>
        <source>not authorised</source>
        <translation>not authorised</translation>
    </message>
    <message>
        <source>TLS problem</source>
        <translation>TLS problem</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>no answer</translation>
    </message>
    <message>
        <source>connection lost</source>
        <translation>connection lost</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>stopped</translation>
    </message>
</context>
<context>
    <name>terrix::TrafficModel</name>
    <message>
        <source>sent</source>
        <translation>sent</translation>
    </message>
    <message>
        <source>received</source>
        <translation>received</translation>
    </message>
    <message>
        <source>send failed</source>
        <translation>send failed</translation>
    </message>
    <message>
        <source>ok, status 0x%1</source>
        <translation>ok, status 0x%1</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>ok</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>Status / error</source>
        <translation>Status / error</translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation>Bytes</translation>
    </message>
    <message>
        <source>time-out</source>
        <translation>time-out</translation>
    </message>
</context>
</TS>
