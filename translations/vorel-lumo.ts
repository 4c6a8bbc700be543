<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>AssignmentCheck</name>
    <message>
        <source>note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>scene %1: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 holds channel index %2, outside 1-16</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 holds channel index %2, outside 1-16 and Global</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 sends %2 %3, outside 0-127</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 and %2 both send %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AssignmentCheckBox</name>
    <message>
        <source>No conflicts: in all four scenes every enabled control sends a message of its own, on a number and channel that MIDI can carry.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 finding in the four scenes:
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 findings in the four scenes:
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
... and %1 more (Show Details...)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ComparisonBox</name>
    <message>
        <source>1 setting differs (here -&gt; in the controller):
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 settings differ (here -&gt; in the controller):
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
... and %1 more (Show Details...)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ControllerCompare</name>
    <message>
        <source>The controller holds the same scenes.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DisplayTexts</name>
    <message>
        <source>Common</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group Common-</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Konb-</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slider-</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trigger Pad-</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Key-</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CC#</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L/L</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>U/R</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OFF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Global</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Assign</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Control Change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Momentary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toggle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Normal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Heavy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Const</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MIDI Channel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Assign Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CC/Note Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lower/Left Value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upper/Right Value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Button Behavior</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off Value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On Value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CC</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>Do you want to save changes?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>*.lumo Vorel lumo File (*.lumo)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF document (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG picture (*.png)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SVG drawing (*.svg)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParameterFiles</name>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SceneDifferences</name>
    <message>
        <source>scene %1, %2, %3: %4 -&gt; %5</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SceneFile</name>
    <message>
        <source>File not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid filename.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Too many open files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File access denied.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read beyond end of file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disk full.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I/O error %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SceneSettings</name>
    <message>
        <source>Scene Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Global MIDI Ch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Piano Key CC# Ch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pitch Bend Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Key Transpose</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Key Velocity Curve</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Key Const Velocity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pad Velocity Curve</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pad Const Velocity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MIDI Channel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CC Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upper/Right Value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lower/Left Value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Assign Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CC/Note Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ON Value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OFF Value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pad Behavior</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Key Behavior</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SendVerification</name>
    <message>
        <source>scene %1, %2, %3: sent %4, read %5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The scenes read back from the controller differ from the scenes sent:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>... and 1 more difference.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>... and %1 more differences.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TransferCommands</name>
    <message>
        <source>the start of the transfer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>image byte %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The controller did not answer at %1 within %2 ms.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The controller answered %1 at %2, not the reply expected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The controller announced %1 blocks of 512 bytes (BlockAddOne included): not what the scene image needs.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A message that no request asked for (%1) came at %2: was the controller played during the transfer?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The controller&apos;s MIDI port vanished at %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The MIDI output did not take the message at %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The send was cancelled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The read was cancelled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> The controller may now hold a partly written scene image.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> The scenes are unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no MIDI system: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no controller among %1 port pairs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the search was cancelled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backing up the controller&apos;s scenes failed, so nothing was sent. %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The backup of the controller&apos;s scenes could not be written to %1, so nothing was sent. %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The scenes were sent, but reading them back to check them failed. %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vorel Lumo Device is not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure to read data from device?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure to send data?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read data OK.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send data OK.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no MIDI system</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A reply was lost or came twice; reading again from the start (%1 of %2)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumo::ConnectionStatus</name>
    <message>
        <source>Controller: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No controller (Follow Controller paused)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No controller</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumo::ControlArea</name>
    <message>
        <source>Display Select</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumo::ControllerMenu</name>
    <message>
        <source>Controller</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No controller answered</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumo::TFormAbout</name>
    <message>
        <source>About Vorel Lumo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumo::TFormMain</name>
    <message>
        <source>CONTROL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check Assignments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Communication</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Scene Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send Scene Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Follow Controller</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back Up Before Send</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verify After Send</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Backups Folder…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for the MIDI system to answer...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Picture…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy Scene</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste Scene</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare With Controller</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
